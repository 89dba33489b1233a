// Offset Values' arithmetic: shifted cells, angle wrapping, the six-decimal '.' notation and
// where a range stops.
#include <gtest/gtest.h>

#include "calc_support.h"
#include "core/numbers.h"
#include "tools/offsetcalc.h"

namespace skyvane {
namespace {

using test::Cells;
using test::columnOf;
using test::tableWith;
using test::written;

Cells entryCells(const std::string& value) {
    return {"0", "1", value, value, value, value, value, value};
}

// One cell text shifted by one offset in one column.
struct ShiftCase {
    const char* name;
    int column;
    const char* cell;
    float offset;
    const char* expected;
};

void PrintTo(const ShiftCase& row, std::ostream* out) {
    *out << row.name;
}

class ShiftedCell : public ::testing::TestWithParam<ShiftCase> {};

TEST_P(ShiftedCell, writesSixDecimals) {
    const ShiftCase& c = GetParam();
    Cells cells = entryCells("0");
    cells[static_cast<std::size_t>(c.column - ColFrame)] = c.cell;
    Offsets offsets{};
    offsets[static_cast<std::size_t>(c.column - ColX)] = c.offset;
    EXPECT_EQ(written(offsetEntries(tableWith({{0, cells}}), 0, 0, offsets), c.column, 0),
              c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cells, ShiftedCell,
    ::testing::Values(ShiftCase{"positionShift", ColX, "1", 10, "11.000000"},
                      ShiftCase{"negativePosition", ColY, "-3", 10, "7.000000"},
                      ShiftCase{"zeroOffsetRewrites", ColZ, "12.5", 0, "12.500000"},
                      ShiftCase{"singleRounding", ColX, "100.1", 0, "100.099998"},
                      ShiftCase{"tinyNegativeKeepsSign", ColX, "-0.0000003", 0, "-0.000000"},
                      ShiftCase{"yawAbove360", ColYaw, "350", 20, "10.000000"},
                      ShiftCase{"pitchBelowZero", ColPitch, "10", -30, "340.000000"},
                      ShiftCase{"rollTwoTurns", ColRoll, "0", 720, "0.000000"},
                      ShiftCase{"hairBelowZeroIsZero", ColPitch, "0", -0.0000001f, "0.000000"},
                      ShiftCase{"cellKeptAtFullPrecision", ColX, "16777217", 1, "16777218.000000"}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(OffsetEntries, shiftsEveryValueColumnOfTheRangeOnly) {
    const EntryTable table = tableWith({{1, entryCells("1")},
                                        {2, {"1", "1", "1", "0", "0", "0", "0", "0"}},
                                        {3, {"2", "1", "2.5", "0", "0", "0", "0", "0"}},
                                        {4, {"3", "1", "-3", "0", "0", "0", "0", "0"}},
                                        {5, entryCells("1")}});
    const auto edits = offsetEntries(table, 2, 4, {10, 0, 0, 0, 0, 0});
    EXPECT_EQ(columnOf(edits, ColX),
              (std::map<int, std::string>{{2, "11.000000"}, {3, "12.500000"}, {4, "7.000000"}}));
    EXPECT_EQ(columnOf(edits, ColRoll),
              (std::map<int, std::string>{{2, "0.000000"}, {3, "0.000000"}, {4, "0.000000"}}));
    EXPECT_EQ(edits.size(), 3u * 6u);
    EXPECT_TRUE(columnOf(edits, ColFrame).empty());
    EXPECT_TRUE(columnOf(edits, ColSteps).empty());
}

TEST(OffsetEntries, selectionPastTheLastEntry_stopsAtTheFirstEmptyFrame) {
    std::vector<std::pair<int, Cells>> entries;
    for (int entry = 0; entry < 10; ++entry)
        entries.push_back({entry, entryCells("1")});
    const auto x = columnOf(offsetEntries(tableWith(entries), 5, 20, {1, 0, 0, 0, 0, 0}), ColX);
    EXPECT_EQ(x.size(), 5u);
    EXPECT_EQ(x.begin()->first, 5);
    EXPECT_EQ(x.rbegin()->first, 9);
}

// Like every tool, the shift writes the separator the program reads cells with, so the entry
// check accepts what it wrote.
// A cleared entry inside the selection ends the shift there, as it ends the check: the
// entries after it were not checked and are left as they are.
TEST(OffsetEntries, clearedEntryInsideRange_stopsThereAndLeavesLaterEntries) {
    const EntryTable table = tableWith({{0, entryCells("1")},
                                        {1, entryCells("1")},
                                        {3, entryCells("1")},
                                        {4, {"4", "1", "x", "0", "0", "0", "0", "0"}}});
    const auto edits = offsetEntries(table, 0, 4, {5, 0, 0, 0, 0, 0});
    EXPECT_EQ(columnOf(edits, ColX),
              (std::map<int, std::string>{{0, "6.000000"}, {1, "6.000000"}}));
    EXPECT_EQ(edits.size(), 2u * 6u);
}

TEST(OffsetEntries, decimalCommaLocale_writesTheComma) {
    setDecimalSeparator(',');
    const auto edits =
        offsetEntries(tableWith({{0, entryCells("1,5")}}), 0, 0, {0, 0, 0, 0, 0, -2});
    setDecimalSeparator('.');
    EXPECT_EQ(written(edits, ColX, 0), "1,500000");
    EXPECT_EQ(written(edits, ColRoll, 0), "359,500000");
}

TEST(OffsetEntries, faultsRaiseBeforeAnythingIsWritten) {
    const EntryTable bad = tableWith({{0, entryCells("1")}, {1, {"1", "1", "1", "1", "x"}}});
    EXPECT_THROW(offsetEntries(bad, 0, 1, {}), ConversionError);
    const EntryTable big = tableWith({{0, entryCells("1")}, {1, entryCells("3e38")}});
    EXPECT_THROW(offsetEntries(big, 0, 1, {3e38f, 0, 0, 0, 0, 0}), MathError);
}

TEST(OffsetEntries, hugeAngle_endsInRange) {
    const auto edits = offsetEntries(tableWith({{0, entryCells("1e30")}}), 0, 0, {});
    const float yaw = parseSingle(*written(edits, ColYaw, 0));
    EXPECT_GE(yaw, 0.0f);
    EXPECT_LT(yaw, 360.0f);
}

} // namespace
} // namespace skyvane
