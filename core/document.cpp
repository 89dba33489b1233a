// The keyframe document: node list, working copy, row operations and entry defaults.
#include "core/document.h"

#include <algorithm>
#include <limits>
#include <optional>

#include "core/numbers.h"

namespace skyvane {

const std::array<const char*, kColumnCount> kColumnHeaders = {
    "Entry", "Frame", "Steps", "X pos", "Y pos", "Z pos", "Pitch", "Yaw", "Roll"};

namespace {

bool anyTextFrom(const EntryRow& row, Column first) {
    return std::any_of(row.begin() + first, row.end(),
                       [](const std::string& cell) { return !cell.empty(); });
}

// Text in Steps to Roll: what the entry defaults react to.
bool holdsValues(const EntryRow& row) {
    return anyTextFrom(row, ColSteps);
}

// Frame plus Steps of the entry above, or nullopt when either is no integer or the sum would
// not be a valid integer text itself.
std::optional<std::int32_t> followingFrame(const EntryRow& above) {
    const auto frame = tryParseInt(above[ColFrame]);
    const auto steps = tryParseInt(above[ColSteps]);
    if (!frame || !steps) {
        return std::nullopt;
    }
    const std::int64_t sum = std::int64_t{*frame} + *steps;
    if (sum < std::numeric_limits<std::int32_t>::min() ||
        sum > std::numeric_limits<std::int32_t>::max()) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(sum);
}

} // namespace

void applyCellEdits(EntryTable& table, const std::vector<CellEdit>& edits) {
    // Check every edit before writing any, so a bad one leaves the table untouched.
    for (const CellEdit& edit : edits) {
        static_cast<void>(table.cell(edit.column, edit.entry)); // throws when out of range
    }
    for (const CellEdit& edit : edits) {
        table.setCell(edit.column, edit.entry, edit.text);
    }
}

void resetDocument(TKeyDocument& document) {
    document.Fps = 15.0f;
    document.Nodes.clear();
    document.Header = KeyHeader{};
}

void addNode(TKeyDocument& document) {
    const int count = static_cast<int>(document.Nodes.size());
    std::int32_t joint = 0;
    const auto driven = [&](std::int32_t j) {
        for (int k = 0; k < count; ++k)
            if (nodeJoint(document, k) == j)
                return true;
        return false;
    };
    while (driven(joint))
        ++joint;
    TNode& node = document.Nodes.emplace_back();
    if (joint != count)
        node.Joint = joint;
}

std::int32_t jointCount(const TKeyDocument& document) {
    return document.Header.joints.value_or(static_cast<std::int32_t>(document.Nodes.size()));
}

std::int32_t nodeJoint(const TKeyDocument& document, int k) {
    return document.Nodes.at(static_cast<std::size_t>(k)).Joint.value_or(k);
}

void removeLastNode(TKeyDocument& document) {
    if (!document.Nodes.empty()) {
        document.Nodes.pop_back();
    }
}

void storeWorkingCopy(TKeyDocument& document, int k, const WorkingCopy& copy) {
    TNode& slot = document.Nodes.at(static_cast<std::size_t>(k));
    TNode node;
    node.Mesh = copy.mesh;
    node.Entries = static_cast<std::int16_t>(countEntries(copy.table));
    node.Joint = slot.Joint;
    for (int e = 0; e < kMaxEntries; ++e) {
        node.Data.row(e) = copy.table.row(e);
    }
    slot = std::move(node);
}

void loadNode(const TKeyDocument& document, int k, WorkingCopy& copy) {
    const TNode& node = document.Nodes.at(static_cast<std::size_t>(k));
    copy.mesh = node.Mesh;
    for (int e = 0; e < kMaxEntries; ++e) {
        copy.table.row(e) = node.Data.row(e);
    }
    renumber(copy.table);
}

void renumber(EntryTable& table) {
    for (int e = 0; e < kMaxEntries; ++e) {
        table.setCell(ColEntry, e, std::to_string(e));
    }
}

void clearEntries(EntryTable& table, int first, int last) {
    for (int e = first; e <= last; ++e) {
        table.row(e) = EntryRow{};
    }
    renumber(table);
}

void openGap(EntryTable& table, int count, int at) {
    // Too close to the end (or a count below 1) nothing moves. Otherwise every entry of the gap
    // ends up empty, also those near the end that no moved entry lands on.
    if (count > 0 && at <= kLastEntry - count) {
        for (int e = kLastEntry; e >= at + count; --e) {
            table.row(e) = std::move(table.row(e - count));
        }
        for (int e = at; e < at + count; ++e) {
            table.row(e) = EntryRow{};
        }
    }
    renumber(table);
}

void closeGap(EntryTable& table, int first, int last) {
    const int count = last - first + 1;
    if (count > 0) {
        for (int e = first; e <= kLastEntry; ++e) {
            const int source = e + count;
            // Entries past 999 read as empty.
            if (source <= kLastEntry) {
                table.row(e) = std::move(table.row(source));
                table.row(source) = EntryRow{};
            } else {
                table.row(e) = EntryRow{};
            }
        }
    }
    renumber(table);
}

EntryTable copyEntries(const EntryTable& table, int first, int last) {
    EntryTable clipboard(std::max(0, last - first + 1));
    for (int i = 0; i < clipboard.rowCount(); ++i) {
        clipboard.row(i) = table.row(first + i);
    }
    return clipboard;
}

bool pasteLosesEntries(const EntryTable& table, const EntryTable& clipboard, int at) {
    const int count = clipboard.rowCount();
    // Too close to the end nothing moves and the clipboard rows are written over the entries
    // from `at` on; otherwise the last `count` entries are pushed out.
    for (int e = std::max(at, kMaxEntries - count); e <= kLastEntry; ++e) {
        if (holdsData(table.row(e))) {
            return true;
        }
    }
    for (int i = std::max(0, kMaxEntries - at); i < count; ++i) {
        if (holdsData(clipboard.row(i))) {
            return true;
        }
    }
    return false;
}

bool insertLosesEntries(const EntryTable& table, int count, int at) {
    // Inserting is pasting empty rows: only the table's own entries can be lost.
    return pasteLosesEntries(table, EntryTable(count), at);
}

void pasteEntries(EntryTable& table, const EntryTable& clipboard, int at) {
    const int count = clipboard.rowCount();
    openGap(table, count, at);
    for (int i = 0; i < count && at + i <= kLastEntry; ++i) {
        table.row(at + i) = clipboard.row(i);
    }
    renumber(table);
}

bool applyEntryDefaults(EntryTable& table) {
    bool changed = false;
    for (int e = 0; e < kMaxEntries; ++e) {
        EntryRow& row = table.row(e);
        if (!holdsValues(row)) {
            continue;
        }
        if (row[ColFrame].empty()) {
            const auto frame = e > 0 ? followingFrame(table.row(e - 1)) : std::nullopt;
            row[ColFrame] = std::to_string(frame ? *frame : e);
            changed = true;
        }
        if (row[ColSteps].empty()) {
            row[ColSteps] = "1";
            changed = true;
        }
    }
    return changed;
}

int countEntries(const EntryTable& table) {
    const int rows = std::min(table.rowCount(), kMaxEntries);
    int count = 0;
    while (count < rows && !table.cell(ColFrame, count).empty()) {
        ++count;
    }
    return count;
}

bool holdsData(const EntryRow& row) {
    return anyTextFrom(row, ColFrame);
}

} // namespace skyvane
