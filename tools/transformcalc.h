// Transform Object's arithmetic: initial velocities from the table, the coupling of velocity,
// acceleration, final velocity and time, and the generation of one entry per frame. Plain
// functions over the entry table so they can be tested without a window.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/document.h"
#include "core/values.h"

namespace skyvane {

// Shown in a coupled box when one of the values it derives from is not a number.
inline constexpr const char* kUnknownValue = "?";

using AxisTexts = std::array<std::string, kValueCount>;
using AxisValues = std::array<float, kValueCount>;

// A start entry typed or set outside the table is brought back into 0..999.
int clampStartEntry(int entry);

// The velocity of the step from entry s - 1 to entry s counted as one frame, in the units the
// user types (metres, degrees), formatted "###0.000"; the number 0 formatted "0.000" where a cell
// is not a number (always for entry 0, which has no predecessor).
AxisTexts initialVelocities(const EntryTable& table, int startEntry, float framesPerSecond);

// final := acceleration * time + initial, formatted "###0.000000", or "?".
std::string finalVelocityText(std::string_view initial, std::string_view acceleration,
                              std::string_view time);
// acceleration := (final - initial) / time, formatted "###0.000000", or "?". Time 0 raises
// MathError.
std::string accelerationText(std::string_view initial, std::string_view finalVelocity,
                             std::string_view time);
// The six final velocities after the time changed; one value that is not a number makes all
// six read "?".
AxisTexts finalVelocityTexts(const AxisTexts& initial, const AxisTexts& acceleration,
                             std::string_view time);

// A typed velocity or acceleration in table units: metres become JKU (times 0.1), degrees
// stay.
float toTableUnits(int axis, float typed);

// The six value cells of an entry, or nothing when one of them is not a number.
std::optional<AxisValues> startValues(const EntryTable& table, int entry);

struct AxisMotion {
    float velocity = 0.0f;     // table units per second
    float acceleration = 0.0f; // table units per second per second
    bool written = false;      // the axis's column is rewritten
};

struct TrajectoryRequest {
    int startEntry = 0; // clamped into 0..999
    float framesPerSecond = 15.0f;
    float time = 2.0f;
    std::array<AxisMotion, kValueCount> axes;
    AxisValues start{}; // the start entry's values, see startValues()
};

// Frame count for a frame rate and a time: the product rounded halves to even. Out of the
// 32-bit range raises MathError.
int frameCount(float framesPerSecond, float time);

// Every cell of the generated entries: Frame, Steps "1" and the ticked axes, one entry per
// frame from the start entry, entries past 999 dropped. An unticked axis keeps the text of its
// cells; where one is empty it gets the start entry's value. Empty when the frame count is
// negative. Raises MathError (zero frame rate, overflow) before anything is written.
std::vector<CellEdit> generateTrajectory(const EntryTable& table, const TrajectoryRequest& request);

} // namespace skyvane
