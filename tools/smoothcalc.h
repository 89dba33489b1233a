// Smooth Path's arithmetic: new entries between the keys of a range, on a curve through the keys,
// as plain functions over the entry table.
#pragma once

#include <optional>
#include <vector>

#include "core/document.h"

namespace skyvane {

// Centripetal Catmull-Rom does not loop or overshoot where the keys are unevenly spaced.
enum class PathCurve { CatmullRom, Linear };

// The keys are the entries of first..last up to the node's last entry. Between each pair of keys
// new entries are written every `spacing` (at least 1) frames, the last step of a pair taking
// what is left; every entry's Steps, the keys' but the last one's included, reaches the next
// entry. Positions lie on the curve through the keys, each angle on a curve of the same kind
// through its key values taken the shorter way round; Frames and values of the keys stay as they
// are. The entries after the range move down; they and the other cells are returned as edits
// of the cells that change. Nothing is returned when an entry holding data would pass entry
// 999. Fewer than two keys give no edits. A key cell that is no number raises ConversionError.
std::optional<std::vector<CellEdit>> smoothPath(const EntryTable& table, int first, int last,
                                                int spacing, PathCurve curve);

} // namespace skyvane
