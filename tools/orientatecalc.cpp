// Auto Orientate's arithmetic: every working value (differences, horizontal length, angles)
// is rounded to 32 bits when stored, which decides the sixth decimal written.
#include "tools/orientatecalc.h"

#include <algorithm>
#include <cmath>

#include "core/numbers.h"
#include "core/values.h"

namespace skyvane {
namespace {

constexpr const char* kAnglePattern = "###0.000000";
Point3 positionOf(const EntryTable& table, int entry) {
    return {parseSingle(table.cell(ColX, entry)), parseSingle(table.cell(ColY, entry)),
            parseSingle(table.cell(ColZ, entry))};
}

float yawAlong(float dx, float dy, float previous) {
    float yaw = previous;
    if (dy > 0)
        yaw = toSingle(degreesFromRadians(std::atan(-static_cast<long double>(dx) / dy)));
    else if (dy < 0)
        yaw = toSingle(degreesFromRadians(std::atan(-static_cast<long double>(dx) / dy)) + 180.0L);
    else if (dx > 0)
        yaw = 270.0f;
    else if (dx < 0)
        yaw = 90.0f;
    return raiseNegativeAngle(yaw);
}

float pitchAlong(float h, float dz, float previous) {
    float pitch = previous;
    if (h != 0)
        pitch = toSingle(degreesFromRadians(std::atan(static_cast<long double>(dz) / h)));
    else if (dz > 0)
        pitch = 90.0f;
    else if (dz < 0)
        pitch = -90.0f;
    return raiseNegativeAngle(pitch);
}

} // namespace

std::vector<CellRef> positionFaults(const EntryTable& table, int first, int last) {
    std::vector<CellRef> faults;
    const int end = std::min(last, table.rowCount() - 1);
    for (int entry = std::max(first, 0); entry <= end; ++entry) {
        for (const int column : {ColX, ColY, ColZ}) {
            if (!tryParseFloat(table.cell(column, entry))) {
                faults.push_back({column, entry});
                break;
            }
        }
    }
    return faults;
}

Orientation faceAlong(const Point3& from, const Point3& to, const Orientation& previous) {
    const float dx = toSingle(static_cast<long double>(to.x) - from.x);
    const float dy = toSingle(static_cast<long double>(to.y) - from.y);
    const float dz = toSingle(static_cast<long double>(to.z) - from.z);
    const long double ldx = dx;
    const long double ldy = dy;
    const float h = toSingle(std::sqrt(ldx * ldx + ldy * ldy));
    return {pitchAlong(h, dz, previous.pitch), yawAlong(dx, dy, previous.yaw)};
}

std::vector<CellEdit> orientEntries(const EntryTable& table, int first, int last,
                                    const std::optional<Point3>& point) {
    std::vector<CellEdit> edits;
    const int end = std::min(last, table.rowCount() - 1);
    // Nothing before the first entry of a run: an angle it leaves open is written as 0.
    Orientation previous;
    for (int entry = std::max(first, 0); entry <= end; ++entry) {
        const Point3 from = positionOf(table, entry);
        // The last entry of a next-entry run has no target beyond the range: it faces its
        // own position and so keeps the angles of the entry before it.
        const Point3 to = point ? *point : entry < end ? positionOf(table, entry + 1) : from;
        previous = faceAlong(from, to, previous);
        edits.push_back({ColPitch, entry, formatPattern(previous.pitch, kAnglePattern)});
        edits.push_back({ColYaw, entry, formatPattern(previous.yaw, kAnglePattern)});
    }
    return edits;
}

} // namespace skyvane
