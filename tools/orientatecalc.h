// Auto Orientate's arithmetic: pitch and yaw that make an object face the next entry of a
// range or one fixed point, as plain functions over the entry table.
#pragma once

#include <optional>
#include <vector>

#include "core/document.h"

namespace skyvane {

struct Point3 {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
};

struct CellRef {
    int column = 0;
    int entry = 0;
    bool operator==(const CellRef& other) const {
        return column == other.column && entry == other.entry;
    }
};

// For each entry of first..last, the first of its X, Y, Z cells that is not a number.
std::vector<CellRef> positionFaults(const EntryTable& table, int first, int last);

struct Orientation {
    float pitch = 0.0f;
    float yaw = 0.0f;
};

// The angles that face along (dx, dy, dz), in [0, 360). An angle the difference leaves open
// (yaw straight up or down, both for no difference) is taken from `previous`.
Orientation faceAlong(const Point3& from, const Point3& to, const Orientation& previous);

// The new Pitch and Yaw cells of entries first..last, facing the next entry of the range, or
// `point` when one is given. The last entry of a next-entry run keeps the angles of the one
// before it; an angle with nothing before it to keep is 0. A coordinate beyond the 32-bit
// range raises MathError before anything is written.
std::vector<CellEdit> orientEntries(const EntryTable& table, int first, int last,
                                    const std::optional<Point3>& point);

} // namespace skyvane
