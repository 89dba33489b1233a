// The keyframe document: node list, working copy, row operations and entry defaults.
#include <gtest/gtest.h>

#include "core/document.h"
#include "core/numbers.h"

using namespace skyvane;

namespace {

// Entry e holds distinct texts in every value column, so a moved row can be recognised.
EntryRow entryRow(int e) {
    const std::string n = std::to_string(e);
    return {n, std::to_string(10 * e), "10", "x" + n, "y" + n, "z" + n, "p" + n, "w" + n, "r" + n};
}

EntryTable filledTable(int count) {
    EntryTable table(kMaxEntries);
    for (int e = 0; e < count; ++e) {
        table.row(e) = entryRow(e);
    }
    renumber(table);
    return table;
}

// The row as it reads after being moved to entry `at`: its values with the new entry number.
EntryRow movedRow(int from, int at) {
    EntryRow row = entryRow(from);
    row[ColEntry] = std::to_string(at);
    return row;
}

EntryRow emptyRow(int at) {
    EntryRow row;
    row[ColEntry] = std::to_string(at);
    return row;
}

void expectEmpty(const EntryTable& table, int first, int last) {
    for (int e = first; e <= last; ++e) {
        ASSERT_EQ(table.row(e), emptyRow(e)) << "entry " << e;
    }
}

void expectMoved(const EntryTable& table, int fromFirst, int toFirst, int count) {
    for (int i = 0; i < count; ++i) {
        ASSERT_EQ(table.row(toFirst + i), movedRow(fromFirst + i, toFirst + i))
            << "entry " << toFirst + i;
    }
}

TEST(Document, columnHeadersNameTheNineColumns) {
    const std::array<std::string, kColumnCount> expected = {
        "Entry", "Frame", "Steps", "X pos", "Y pos", "Z pos", "Pitch", "Yaw", "Roll"};
    for (int c = 0; c < kColumnCount; ++c) {
        EXPECT_EQ(kColumnHeaders[c], expected[c]);
    }
}

TEST(Document, resetThenAddNodeGivesOneEmptyNodeAt15Fps) {
    TKeyDocument document;
    document.Fps = 30.0f;
    addNode(document);
    addNode(document);
    document.Nodes[0].Mesh = "ship";
    resetDocument(document);
    EXPECT_EQ(document.Fps, 15.0f);
    EXPECT_TRUE(document.Nodes.empty());

    addNode(document);
    ASSERT_EQ(document.Nodes.size(), 1u);
    EXPECT_EQ(document.Nodes[0].Mesh, "");
    EXPECT_EQ(document.Nodes[0].Entries, 0);
    EXPECT_EQ(document.Nodes[0].Data, EntryTable(kMaxEntries));
}

TEST(Document, removeLastNodeDropsOnlyTheLastAndIgnoresAnEmptyList) {
    TKeyDocument document;
    for (const char* mesh : {"a", "b", "c"}) {
        addNode(document);
        document.Nodes.back().Mesh = mesh;
    }
    removeLastNode(document);
    ASSERT_EQ(document.Nodes.size(), 2u);
    EXPECT_EQ(document.Nodes[1].Mesh, "b");
    removeLastNode(document);
    removeLastNode(document);
    removeLastNode(document);
    EXPECT_TRUE(document.Nodes.empty());
}

TEST(Document, storeWorkingCopyReplacesTheSlotWithTheGridContent) {
    TKeyDocument document;
    addNode(document);
    addNode(document);
    WorkingCopy copy;
    copy.table = filledTable(12);
    copy.mesh = "cam";

    storeWorkingCopy(document, 1, copy);
    const TNode first = document.Nodes[1];
    EXPECT_EQ(first.Mesh, "cam");
    EXPECT_EQ(first.Entries, 12);
    EXPECT_EQ(first.Data, copy.table);
    EXPECT_EQ(document.Nodes[0].Entries, 0);

    storeWorkingCopy(document, 1, copy);
    EXPECT_EQ(document.Nodes[1].Mesh, first.Mesh);
    EXPECT_EQ(document.Nodes[1].Entries, first.Entries);
    EXPECT_EQ(document.Nodes[1].Data, first.Data);
}

TEST(Document, loadNodeFillsTheWorkingCopyAndRenumbers) {
    TKeyDocument document;
    addNode(document);
    TNode& node = document.Nodes[0];
    node.Mesh = "ship";
    node.Entries = 3;
    for (int e = 0; e < 3; ++e) {
        node.Data.row(e) = entryRow(e);
        node.Data.setCell(ColEntry, e, "stale");
    }
    WorkingCopy copy;
    copy.table = filledTable(kMaxEntries);

    loadNode(document, 0, copy);
    EXPECT_EQ(copy.mesh, "ship");
    EXPECT_EQ(copy.table, filledTable(3));
}

TEST(Document, storeThenLoadGivesTheNodeBackAsLeft) {
    TKeyDocument document;
    addNode(document);
    addNode(document);
    WorkingCopy copy;
    copy.table = filledTable(7);
    copy.mesh = "a";
    storeWorkingCopy(document, 0, copy);
    EXPECT_EQ(document.Nodes[0].Entries, 7);
    loadNode(document, 1, copy);
    loadNode(document, 0, copy);
    EXPECT_EQ(copy.table, filledTable(7));
    EXPECT_EQ(copy.mesh, "a");
}

TEST(RowOperations, clearEntriesEmptiesTheRunAndKeepsTheRest) {
    EntryTable table = filledTable(10);
    clearEntries(table, 2, 4);
    expectMoved(table, 0, 0, 2);
    expectEmpty(table, 2, 4);
    expectMoved(table, 5, 5, 5);
    EXPECT_EQ(countEntries(table), 2);
}

TEST(RowOperations, openGapMovesEntriesDownAndLeavesEmptyOnes) {
    EntryTable table = filledTable(10);
    openGap(table, 3, 2);
    expectMoved(table, 0, 0, 2);
    expectEmpty(table, 2, 4);
    expectMoved(table, 2, 5, 8);
    expectEmpty(table, 13, 999);
    EXPECT_EQ(countEntries(table), 2);
}

TEST(RowOperations, openGapNearTheEndEmptiesTheWholeGap) {
    for (int at : {995, 996}) {
        EntryTable table = filledTable(kMaxEntries);
        openGap(table, 3, at);
        SCOPED_TRACE(at);
        expectMoved(table, 0, 0, at);
        expectEmpty(table, at, at + 2);
        expectMoved(table, at, at + 3, 997 - at);
    }
}

TEST(RowOperations, openGapTooCloseToTheEndMovesNothing) {
    const EntryTable full = filledTable(kMaxEntries);
    for (int count : {0, 1, 3, 100}) {
        EntryTable table = full;
        openGap(table, count, 1000 - count);
        EXPECT_EQ(table, full) << count;
    }
}

TEST(RowOperations, closeGapMovesLaterEntriesUp) {
    EntryTable table = filledTable(10);
    closeGap(table, 2, 4);
    expectMoved(table, 0, 0, 2);
    expectMoved(table, 5, 2, 5);
    expectEmpty(table, 7, 999);
    EXPECT_EQ(countEntries(table), 7);
}

TEST(RowOperations, closeGapLeavesTheTailOfTheTableEmpty) {
    struct Case {
        int first;
        int last;
    };
    for (const Case c :
         {Case{0, 0}, Case{0, 999}, Case{990, 995}, Case{998, 999}, Case{500, 700}}) {
        EntryTable table = filledTable(kMaxEntries);
        closeGap(table, c.first, c.last);
        const int count = c.last - c.first + 1;
        SCOPED_TRACE(std::to_string(c.first) + ".." + std::to_string(c.last));
        expectMoved(table, 0, 0, c.first);
        expectMoved(table, c.last + 1, c.first, kMaxEntries - 1 - c.last);
        expectEmpty(table, kMaxEntries - count, 999);
    }
}

TEST(RowOperations, copyEntriesTakesTheRunAndLeavesTheTable) {
    const EntryTable table = filledTable(10);
    const EntryTable clipboard = copyEntries(table, 2, 4);
    ASSERT_EQ(clipboard.rowCount(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(clipboard.row(i), entryRow(2 + i));
    }
    EXPECT_EQ(table, filledTable(10));
}

TEST(RowOperations, pasteInsertsTheClipboardAndPushesEntriesDown) {
    EntryTable table = filledTable(10);
    pasteEntries(table, copyEntries(table, 2, 4), 0);
    expectMoved(table, 2, 0, 3);
    expectMoved(table, 0, 3, 10);
    expectEmpty(table, 13, 999);
}

TEST(RowOperations, pasteIntoAFullTableDropsEntriesPushedPast999) {
    EntryTable table = filledTable(kMaxEntries);
    pasteEntries(table, copyEntries(table, 0, 2), 500);
    expectMoved(table, 0, 0, 500);
    expectMoved(table, 0, 500, 3);
    expectMoved(table, 500, 503, 497);
}

TEST(RowOperations, pasteNearTheEndOverwritesAndDropsWhatDoesNotFit) {
    EntryTable table = filledTable(kMaxEntries);
    EntryTable clipboard = copyEntries(table, 10, 12);
    pasteEntries(table, clipboard, 998);
    expectMoved(table, 0, 0, 998);
    expectMoved(table, 10, 998, 2);
}

TEST(RowOperations, pasteOfTheStartClipboardInsertsFiveEmptyEntries) {
    EntryTable table = filledTable(10);
    pasteEntries(table, EntryTable(kClipboardStartRows), 1);
    expectMoved(table, 0, 0, 1);
    expectEmpty(table, 1, 5);
    expectMoved(table, 1, 6, 9);
}

// A paste that would push out or drop an entry holding data is refused; empty rows may go.
TEST(RowOperations, pasteLosesEntriesOnlyWhenDataWouldLeaveTheTable) {
    const EntryTable copied = filledTable(5); // rows 0..4 hold data
    const struct {
        const char* name;
        int filled;            // entries 0..filled-1 hold data
        std::vector<int> more; // further entries holding data
        int rows;              // clipboard rows: the first `rows` of `copied`, or empty ones
        bool emptyRows;
        int at;
        bool loses;
    } cases[] = {
        {"plenty of room", 10, {}, 3, false, 0, false},
        {"last entries empty enough", 997, {}, 3, false, 0, false},
        {"one entry pushed past 999", 998, {}, 3, false, 0, true},
        {"entry 999 after a gap", 5, {999}, 1, false, 0, true},
        {"entry 998 moves to 999", 5, {998}, 1, false, 0, false},
        {"near the end: written over", 5, {999}, 1, false, 999, true},
        {"near the end: copied rows dropped", 5, {}, 5, false, 998, true},
        {"near the end: empty rows dropped", 5, {}, 5, true, 998, false},
        {"near the end: empty rows over data", 5, {999}, 5, true, 998, true},
        {"only the entry numbers", 0, {}, 3, false, 0, false},
    };
    for (const auto& c : cases) {
        EntryTable table = filledTable(c.filled);
        for (int e : c.more) {
            table.row(e) = entryRow(e);
        }
        const EntryTable clipboard =
            c.emptyRows ? EntryTable(c.rows) : copyEntries(copied, 0, c.rows - 1);
        EXPECT_EQ(pasteLosesEntries(table, clipboard, c.at), c.loses) << c.name;
    }
}

// Inserting empty entries may only push empty ones past 999; too near the end nothing moves,
// so an entry holding data where the gap belongs also refuses.
TEST(RowOperations, insertLosesEntriesOnlyWhenDataWouldLeaveTheTable) {
    const struct {
        int dataAt;
        int count;
        int at;
        bool loses;
    } cases[] = {
        {996, 3, 0, false}, {997, 3, 0, true}, {999, 1, 999, true}, {997, 5, 998, false},
    };
    for (const auto& c : cases) {
        EntryTable table = filledTable(5);
        table.row(c.dataAt) = entryRow(c.dataAt);
        EXPECT_EQ(insertLosesEntries(table, c.count, c.at), c.loses)
            << c.dataAt << " " << c.count << " " << c.at;
    }
}

TEST(Document, applyCellEditsWritesAllOrNothing) {
    EntryTable table = filledTable(3);
    applyCellEdits(table, {{ColX, 0, "1.5"}, {ColRoll, 2, "90"}});
    EXPECT_EQ(table.cell(ColX, 0), "1.5");
    EXPECT_EQ(table.cell(ColRoll, 2), "90");

    const EntryTable before = table;
    EXPECT_THROW(applyCellEdits(table, {{ColX, 1, "7"}, {ColX, kMaxEntries, "8"}}),
                 std::out_of_range);
    EXPECT_THROW(applyCellEdits(table, {{ColX, 1, "7"}, {kColumnCount, 0, "8"}}),
                 std::out_of_range);
    EXPECT_EQ(table, before);
}

// Rows given as {Frame, Steps, X}; the rest of the row stays empty.
struct DefaultsCase {
    const char* name;
    std::vector<std::array<const char*, 3>> before;
    std::vector<std::array<const char*, 2>> expectedFrameSteps;
};

TEST(EntryDefaults, fillFrameAndStepsTopToBottom) {
    const DefaultsCase cases[] = {
        {"first entry gets frame 0", {{"", "", "5"}}, {{"0", "1"}}},
        {"follows frame plus steps", {{"5", "10", "0"}, {"", "", "1"}}, {{"5", "10"}, {"15", "1"}}},
        {"chain filled in one pass",
         {{"", "", "1"}, {"", "", "2"}, {"", "4", "3"}, {"", "", "4"}},
         {{"0", "1"}, {"1", "1"}, {"2", "4"}, {"6", "1"}}},
        {"hexadecimal above", {{"$10", "2", "0"}, {"", "", "1"}}, {{"$10", "2"}, {"18", "1"}}},
        {"no integer above", {{"abc", "1", "0"}, {"", "", "1"}}, {{"abc", "1"}, {"1", "1"}}},
        {"empty row above", {{"", "", ""}, {"", "", "1"}}, {{"", ""}, {"1", "1"}}},
        {"largest sum",
         {{"2147483646", "1", "0"}, {"", "", "1"}},
         {{"2147483646", "1"}, {"2147483647", "1"}}},
        {"sum past 32 bits",
         {{"2147483647", "1", "0"}, {"", "", "1"}},
         {{"2147483647", "1"}, {"1", "1"}}},
        {"sum below 32 bits",
         {{"-2147483648", "-1", "0"}, {"", "", "1"}},
         {{"-2147483648", "-1"}, {"1", "1"}}},
        {"frame without values stays", {{"7", "", ""}}, {{"7", ""}}},
        {"existing frame keeps its text",
         {{"0", "1", "0"}, {"3", "", "1"}},
         {{"0", "1"}, {"3", "1"}}},
    };
    for (const DefaultsCase& c : cases) {
        EntryTable table(kMaxEntries);
        for (std::size_t e = 0; e < c.before.size(); ++e) {
            const int row = static_cast<int>(e);
            table.setCell(ColFrame, row, c.before[e][0]);
            table.setCell(ColSteps, row, c.before[e][1]);
            table.setCell(ColX, row, c.before[e][2]);
        }
        const EntryTable original = table;
        const bool changed = applyEntryDefaults(table);
        EXPECT_EQ(changed, table != original) << c.name;
        for (std::size_t e = 0; e < c.expectedFrameSteps.size(); ++e) {
            const int row = static_cast<int>(e);
            EXPECT_EQ(table.cell(ColFrame, row), c.expectedFrameSteps[e][0]) << c.name << " " << e;
            EXPECT_EQ(table.cell(ColSteps, row), c.expectedFrameSteps[e][1]) << c.name << " " << e;
        }
        EXPECT_FALSE(applyEntryDefaults(table)) << c.name << ": second pass";
    }
}

TEST(EntryDefaults, anyValueColumnTriggersTheFill) {
    for (int column = ColSteps; column < kColumnCount; ++column) {
        EntryTable table(kMaxEntries);
        table.setCell(column, 0, "2");
        EXPECT_TRUE(applyEntryDefaults(table)) << column;
        EXPECT_EQ(table.cell(ColFrame, 0), "0") << column;
        EXPECT_EQ(table.cell(ColSteps, 0), column == ColSteps ? "2" : "1") << column;
    }
}

TEST(EntryDefaults, entryColumnAloneTriggersNothing) {
    EntryTable table = filledTable(0);
    EXPECT_FALSE(applyEntryDefaults(table));
}

TEST(EntryCount, countsConsecutiveFramesFromEntryZero) {
    EXPECT_EQ(countEntries(filledTable(0)), 0);
    EXPECT_EQ(countEntries(filledTable(10)), 10);
    EXPECT_EQ(countEntries(filledTable(kMaxEntries)), kMaxEntries);

    EntryTable gap = filledTable(10);
    gap.setCell(ColFrame, 5, "");
    EXPECT_EQ(countEntries(gap), 5);
    gap.setCell(ColFrame, 5, " ");
    EXPECT_EQ(countEntries(gap), 10);
}

} // namespace
