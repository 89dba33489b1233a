// Offset Values' arithmetic: the cell at full precision plus the 32-bit offset, rounded to
// 32 bits.
#include "tools/offsetcalc.h"

#include <algorithm>

#include "core/numbers.h"

namespace skyvane {

std::vector<CellEdit> offsetEntries(const EntryTable& table, int first, int last,
                                    const Offsets& offsets) {
    std::vector<CellEdit> edits;
    const int end = std::min(last, table.rowCount() - 1);
    for (int entry = std::max(first, 0); entry <= end; ++entry) {
        // The entry check ends at the first entry without a Frame; so does the shift, so a
        // selection past the last entry leaves the empty rows alone.
        if (table.cell(ColFrame, entry).empty())
            break;
        for (int axis = 0; axis < kValueCount; ++axis) {
            const int column = kValueColumns[axis];
            float value = toSingle(parseFloat(table.cell(column, entry)) + offsets[axis]);
            if (isAngleValue(axis))
                value = wrapAngleLowerThenRaise(value);
            edits.push_back({column, entry, formatFixedPoint6(value)});
        }
    }
    return edits;
}

} // namespace skyvane
