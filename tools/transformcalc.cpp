// Transform Object's arithmetic: values are held as 32-bit floats, computed in extended
// precision and rounded back to 32 bits before they are stored or written.
#include "tools/transformcalc.h"

#include <algorithm>
#include <cstdint>

#include "core/numbers.h"

namespace skyvane {
namespace {

constexpr const char* kVelocityPattern = "###0.000";
constexpr const char* kCouplingPattern = "###0.000000";
constexpr const char* kCellPattern = "###0.000000";
// The number 0 shown where no velocity can be read off the table.
constexpr const char* kZeroPattern = "0.000";

// Metres typed in the dialog against the JKU of the table: 1 JKU = 10 metres.
constexpr long double kMetresPerUnit = 10.0L;
constexpr long double kUnitsPerMetre = 0.1L;

std::string initialVelocity(const EntryTable& table, int startEntry, int axis,
                            float framesPerSecond) {
    // Entry 0 has no predecessor: the grid row above it holds the headers.
    if (startEntry <= 0)
        return formatPattern(0, kZeroPattern);
    const int column = kValueColumns[axis];
    const std::optional<float> before = tryParseSingle(table.cell(column, startEntry - 1));
    const std::optional<float> after = tryParseSingle(table.cell(column, startEntry));
    if (!before || !after)
        return formatPattern(0, kZeroPattern);
    long double velocity = (static_cast<long double>(*after) - *before) * framesPerSecond;
    if (!isAngleValue(axis))
        velocity *= kMetresPerUnit;
    return formatPattern(velocity, kVelocityPattern);
}

// The Frame of the start entry: the predecessor's Frame + Steps, else the start entry's own
// index, which is where the entry defaults would put it (0 for entry 0, as the check wants).
std::int64_t startFrame(const EntryTable& table, int startEntry) {
    if (startEntry > 0) {
        const std::optional<std::int32_t> frame = tryParseInt(table.cell(ColFrame, startEntry - 1));
        const std::optional<std::int32_t> steps = tryParseInt(table.cell(ColSteps, startEntry - 1));
        if (frame && steps)
            return static_cast<std::int64_t>(*frame) + *steps;
    }
    return startEntry;
}

float valueAt(const AxisMotion& motion, float start, float t, bool angle) {
    const long double tt = t;
    const float value = toSingle(tt * tt * (0.5L * motion.acceleration) +
                                 (static_cast<long double>(motion.velocity) * tt + start));
    return angle ? wrapAngleRaiseThenLower(value) : value;
}

} // namespace

int clampStartEntry(int entry) {
    return std::clamp(entry, 0, kLastEntry);
}

AxisTexts initialVelocities(const EntryTable& table, int startEntry, float framesPerSecond) {
    const int entry = clampStartEntry(startEntry);
    AxisTexts velocities;
    for (int axis = 0; axis < kValueCount; ++axis)
        velocities[axis] = initialVelocity(table, entry, axis, framesPerSecond);
    return velocities;
}

std::string finalVelocityText(std::string_view initial, std::string_view acceleration,
                              std::string_view time) {
    const std::optional<float> v = tryParseSingle(initial);
    const std::optional<float> a = tryParseSingle(acceleration);
    const std::optional<float> t = tryParseSingle(time);
    if (!v || !a || !t)
        return kUnknownValue;
    return formatPattern(toSingle(static_cast<long double>(*a) * *t + *v), kCouplingPattern);
}

std::string accelerationText(std::string_view initial, std::string_view finalVelocity,
                             std::string_view time) {
    const std::optional<float> v = tryParseSingle(initial);
    const std::optional<float> f = tryParseSingle(finalVelocity);
    const std::optional<float> t = tryParseSingle(time);
    if (!v || !f || !t)
        return kUnknownValue;
    return formatPattern(toSingle(divide(static_cast<long double>(*f) - *v, *t)), kCouplingPattern);
}

AxisTexts finalVelocityTexts(const AxisTexts& initial, const AxisTexts& acceleration,
                             std::string_view time) {
    AxisTexts finals;
    for (int axis = 0; axis < kValueCount; ++axis) {
        finals[axis] = finalVelocityText(initial[axis], acceleration[axis], time);
        if (finals[axis] == kUnknownValue) {
            finals.fill(kUnknownValue);
            break;
        }
    }
    return finals;
}

float toTableUnits(int axis, float typed) {
    return isAngleValue(axis) ? typed : toSingle(typed * kUnitsPerMetre);
}

std::optional<AxisValues> startValues(const EntryTable& table, int entry) {
    AxisValues values{};
    for (int axis = 0; axis < kValueCount; ++axis) {
        const std::optional<float> value =
            tryParseSingle(table.cell(kValueColumns[axis], clampStartEntry(entry)));
        if (!value)
            return std::nullopt;
        values[axis] = *value;
    }
    return values;
}

int frameCount(float framesPerSecond, float time) {
    return roundHalfEven32(static_cast<long double>(framesPerSecond) * time);
}

std::vector<CellEdit> generateTrajectory(const EntryTable& table,
                                         const TrajectoryRequest& request) {
    std::vector<CellEdit> edits;
    const int n = frameCount(request.framesPerSecond, request.time);
    if (n < 0)
        return edits;
    const int first = clampStartEntry(request.startEntry);
    const std::int64_t frame = startFrame(table, first);
    // Entries that would fall past the end of the table are dropped.
    const int last = static_cast<int>(std::min<std::int64_t>(kLastEntry, std::int64_t{first} + n));
    for (int entry = first; entry <= last; ++entry) {
        const int i = entry - first;
        const float t = toSingle(divide(i, request.framesPerSecond));
        edits.push_back({ColFrame, entry, std::to_string(frame + i)});
        edits.push_back({ColSteps, entry, "1"});
        for (int axis = 0; axis < kValueCount; ++axis) {
            const AxisMotion& motion = request.axes[axis];
            const int column = kValueColumns[axis];
            if (motion.written) {
                const float value = valueAt(motion, request.start[axis], t, isAngleValue(axis));
                edits.push_back({column, entry, formatPattern(value, kCellPattern)});
            } else if (table.cell(column, entry).empty()) {
                // An unticked value holds still: the entry gets the start entry's value.
                edits.push_back({column, entry, formatPattern(request.start[axis], kCellPattern)});
            }
        }
    }
    return edits;
}

} // namespace skyvane
