// The six values of an entry and what the program knows about them: which cells hold them,
// which are angles, how angles turn into radians and back, and how a KEY file writes them.
#pragma once

#include <array>

#include "core/document.h"

namespace skyvane {

// Positions X, Y, Z, then the angles Pitch, Yaw, Roll, in the order of their columns.
inline constexpr int kValueCount = 6;
inline constexpr std::array<int, kValueCount> kValueColumns = {ColX,     ColY,   ColZ,
                                                               ColPitch, ColYaw, ColRoll};
inline constexpr int kFirstAngle = 3; // Pitch

inline constexpr bool isAngleValue(int value) {
    return value >= kFirstAngle;
}

// The game's text files (KEY, 3DO, JKL) always write '.', whatever the user's separator: the
// game splits fields at commas.
inline constexpr char kFileSeparator = '.';

inline constexpr long double kPi = 3.141592653589793238462643383279502884L;

inline constexpr long double radiansFromDegrees(long double degrees) {
    return degrees * kPi / 180.0L;
}

inline constexpr long double degreesFromRadians(long double radians) {
    return radians * (1.0L / kPi) * 180.0L;
}

} // namespace skyvane
