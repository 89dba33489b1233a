// Offset Values' arithmetic: shifts the six value cells of a range of entries by constant
// offsets, as a plain function over the entry table.
#pragma once

#include <array>
#include <vector>

#include "core/document.h"
#include "core/values.h"

namespace skyvane {

// Offsets in table units (JKU, degrees), in the order X, Y, Z, Pitch, Yaw, Roll.
using Offsets = std::array<float, kValueCount>;

// The new six value cells of entries first..last, up to the first entry without a Frame (the
// rows below the last entry of the node). Angles end up in [0, 360); cells are written with
// six decimals and the program's decimal separator, as every tool writes them. A cell that is not a
// number raises ConversionError, a sum beyond the 32-bit range MathError, both before anything is
// written.
std::vector<CellEdit> offsetEntries(const EntryTable& table, int first, int last,
                                    const Offsets& offsets);

} // namespace skyvane
