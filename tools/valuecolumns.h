// The six value columns every trajectory tool works on, in the order the tools take them:
// positions X, Y, Z, then the angles Pitch, Yaw, Roll.
#pragma once

#include <array>

#include "core/document.h"

namespace skyvane {

inline constexpr int kAxisCount = 6;
inline constexpr std::array<int, kAxisCount> kValueColumns = {ColX,     ColY,   ColZ,
                                                              ColPitch, ColYaw, ColRoll};

inline constexpr bool isAngleAxis(int axis) {
    return kValueColumns[axis] >= ColPitch;
}

// The highest entry index of a node.
inline constexpr int kLastEntry = kMaxEntries - 1;

} // namespace skyvane
