// The keyframe document: nodes with their entry tables, the working copy of the current node,
// the row operations the frame commands use, and the entry defaults.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/keyheader.h"

namespace skyvane {

inline constexpr int kColumnCount = 9;
inline constexpr int kMaxEntries = 1000;
inline constexpr int kLastEntry = kMaxEntries - 1;
inline constexpr int kMaxNodes = 50;
inline constexpr int kClipboardStartRows = 5;

enum Column : int {
    ColEntry = 0,
    ColFrame = 1,
    ColSteps = 2,
    ColX = 3,
    ColY = 4,
    ColZ = 5,
    ColPitch = 6,
    ColYaw = 7,
    ColRoll = 8,
};

extern const std::array<const char*, kColumnCount> kColumnHeaders; // "Entry", "Frame", ...

using EntryRow = std::array<std::string, kColumnCount>;

// A table of text cells with 9 columns. Cells hold bytes exactly as typed or read
// (8-bit text); nothing is parsed here.
class EntryTable {
public:
    explicit EntryTable(int rows = 0) : rows_(static_cast<std::size_t>(rows)) {}

    int rowCount() const { return static_cast<int>(rows_.size()); }
    void setRowCount(int rows) { rows_.resize(static_cast<std::size_t>(rows)); }

    // Both indices are checked: a bad one throws std::out_of_range instead of touching memory.
    const std::string& cell(int column, int row) const {
        return rows_.at(static_cast<std::size_t>(row)).at(static_cast<std::size_t>(column));
    }
    void setCell(int column, int row, std::string text) {
        rows_.at(static_cast<std::size_t>(row)).at(static_cast<std::size_t>(column)) =
            std::move(text);
    }
    const EntryRow& row(int r) const { return rows_.at(static_cast<std::size_t>(r)); }
    EntryRow& row(int r) { return rows_.at(static_cast<std::size_t>(r)); }

    bool operator==(const EntryTable& other) const { return rows_ == other.rows_; }
    bool operator!=(const EntryTable& other) const { return !(*this == other); }

private:
    std::vector<EntryRow> rows_;
};

// One node: the keyframe track of one mesh. Data row r holds entry r. Joint is the model's
// hierarchy node that the track drives, the number on its NODE line; none: the node's index.
struct TNode {
    std::string Mesh;
    std::int16_t Entries = 0;
    EntryTable Data{kMaxEntries};
    std::optional<std::int32_t> Joint;
};

struct TKeyDocument {
    float Fps = 15.0f;
    std::vector<TNode> Nodes;
    KeyHeader Header;
};

// The node of the current tab while it is being edited: the grid rows (entry e in row e) and
// the mesh-name text. Its entry count is counted from the table, never kept beside it.
struct WorkingCopy {
    EntryTable table{kMaxEntries};
    std::string mesh;
};

// One new cell text, as the tools compute them: all edits of a command are computed first and
// written together, so a fault part-way leaves the table untouched.
struct CellEdit {
    int column = 0;
    int entry = 0;
    std::string text;
    bool operator==(const CellEdit& other) const {
        return column == other.column && entry == other.entry && text == other.text;
    }
};
void applyCellEdits(EntryTable& table, const std::vector<CellEdit>& edits);

// Document operations.
void resetDocument(TKeyDocument& document); // Fps 15, a new header, no nodes
// Appends an empty node driving the lowest joint number no node drives yet.
void addNode(TKeyDocument& document);
// The joint node k drives.
std::int32_t nodeJoint(const TKeyDocument& document, int k);
// The JOINTS a save writes: the kept joint count, or the node count.
std::int32_t jointCount(const TKeyDocument& document);
void removeLastNode(TKeyDocument& document);
// Replaces node k with the working copy, keeping its joint number; Entries is the table's
// countEntries.
void storeWorkingCopy(TKeyDocument& document, int k, const WorkingCopy& copy);
// Copies node k into the working copy and renumbers.
void loadNode(const TKeyDocument& document, int k, WorkingCopy& copy);

// Row operations on a working-copy table of 1000 entries. Arguments are entry indices;
// callers keep them in range. A count below 1 (or last before first) moves nothing.
void renumber(EntryTable& table);
void clearEntries(EntryTable& table, int first, int last);
void openGap(EntryTable& table, int count, int at);
void closeGap(EntryTable& table, int first, int last);
EntryTable copyEntries(const EntryTable& table, int first, int last);
// Opens a gap and copies the clipboard rows into it; rows that would land past entry 999 are
// dropped.
void pasteEntries(EntryTable& table, const EntryTable& clipboard, int at);
// True when pasting the clipboard at `at` would lose an entry that holds data: one of the table
// pushed (or, near the end, written over) past entry 999, or a clipboard row that would land
// there.
bool pasteLosesEntries(const EntryTable& table, const EntryTable& clipboard, int at);
// True when inserting `count` empty entries at `at` would lose an entry that holds data: one
// pushed past entry 999, or, too near the end for anything to move, one where the gap belongs.
bool insertLosesEntries(const EntryTable& table, int count, int at);

// The entry defaults, applied top to bottom: a row with text in columns 2..8 and an empty
// Frame gets the previous Frame + Steps (or its own index when either does not parse or the sum
// leaves the 32-bit range); an empty Steps gets "1".
// Returns true when a cell changed.
bool applyEntryDefaults(EntryTable& table);
// Consecutive non-empty Frame cells from entry 0, at most 1000.
int countEntries(const EntryTable& table);
// Whether any cell from Frame to Roll holds text (the Entry column holds only the index).
bool holdsData(const EntryRow& row);

} // namespace skyvane
