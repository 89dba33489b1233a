// Small helpers for the computation tests: tables filled from rows of cell texts, and the
// texts that a list of cell edits would write.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/document.h"

namespace skyvane::test {

// Cells Frame, Steps, X, Y, Z, Pitch, Yaw, Roll of one entry.
using Cells = std::vector<std::string>;

inline EntryTable tableWith(const std::vector<std::pair<int, Cells>>& entries) {
    EntryTable table(kMaxEntries);
    for (const auto& [entry, cells] : entries)
        for (std::size_t c = 0; c < cells.size(); ++c)
            table.setCell(static_cast<int>(c) + ColFrame, entry, cells[c]);
    return table;
}

// The text written into (column, entry), if any edit touches it.
inline std::optional<std::string> written(const std::vector<CellEdit>& edits, int column,
                                          int entry) {
    std::optional<std::string> text;
    for (const CellEdit& edit : edits)
        if (edit.column == column && edit.entry == entry)
            text = edit.text;
    return text;
}

// The texts written into one column, by entry.
inline std::map<int, std::string> columnOf(const std::vector<CellEdit>& edits, int column) {
    std::map<int, std::string> texts;
    for (const CellEdit& edit : edits)
        if (edit.column == column)
            texts[edit.entry] = edit.text;
    return texts;
}

} // namespace skyvane::test
