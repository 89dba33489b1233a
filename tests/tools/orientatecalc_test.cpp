// Auto Orientate's arithmetic: angles towards a direction, the angles kept where a direction
// leaves them open, and the range check of positions.
#include <gtest/gtest.h>

#include "calc_support.h"
#include "core/numbers.h"
#include "tools/orientatecalc.h"

namespace skyvane {
namespace {

using test::Cells;
using test::columnOf;
using test::tableWith;
using test::written;

Cells at(const std::string& x, const std::string& y, const std::string& z) {
    return {"0", "1", x, y, z, "1.5", "2.5", "3.5"};
}

// An entry at the origin facing a point; the angles expected.
struct DirectionCase {
    const char* name;
    Point3 target;
    const char* pitch;
    const char* yaw;
};

void PrintTo(const DirectionCase& row, std::ostream* out) {
    *out << row.name;
}

class FacingDirection : public ::testing::TestWithParam<DirectionCase> {};

TEST_P(FacingDirection, writesPitchAndYaw) {
    const DirectionCase& c = GetParam();
    const auto edits = orientEntries(tableWith({{0, at("0", "0", "0")}}), 0, 0, c.target);
    EXPECT_EQ(written(edits, ColPitch, 0), c.pitch);
    EXPECT_EQ(written(edits, ColYaw, 0), c.yaw);
}

INSTANTIATE_TEST_SUITE_P(
    Directions, FacingDirection,
    ::testing::Values(DirectionCase{"plusY", {0, 5, 0}, "0.000000", "0.000000"},
                      DirectionCase{"plusX", {5, 0, 0}, "0.000000", "270.000000"},
                      DirectionCase{"minusX", {-5, 0, 0}, "0.000000", "90.000000"},
                      DirectionCase{"minusY", {0, -5, 0}, "0.000000", "180.000000"},
                      DirectionCase{"singleRoundedYaw", {-1, 2, 0}, "0.000000", "26.565052"},
                      DirectionCase{"downwards", {3, 4, -5}, "315.000000", "323.130096"},
                      DirectionCase{"upwardsBehind", {2, -2, 1}, "19.471220", "225.000000"},
                      DirectionCase{"hairBelowLevel", {0, 1, -0.0000001f}, "0.000000", "0.000000"},
                      DirectionCase{"straightUpFirst", {0, 0, 7}, "90.000000", "0.000000"},
                      DirectionCase{"straightDownFirst", {0, 0, -7}, "270.000000", "0.000000"},
                      DirectionCase{"onThePointFirst", {0, 0, 0}, "0.000000", "0.000000"}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(OrientEntries, nextEntryMode_lastEntryCopiesTheOneBefore) {
    const auto edits =
        orientEntries(tableWith({{0, at("0", "0", "0")}, {1, at("-1", "2", "0")}}), 0, 1, {});
    EXPECT_EQ(columnOf(edits, ColPitch),
              (std::map<int, std::string>{{0, "0.000000"}, {1, "0.000000"}}));
    EXPECT_EQ(columnOf(edits, ColYaw),
              (std::map<int, std::string>{{0, "26.565052"}, {1, "26.565052"}}));
}

TEST(OrientEntries, nextEntryMode_singleEntryGetsZero) {
    const auto edits = orientEntries(tableWith({{3, at("1", "2", "3")}}), 3, 3, {});
    EXPECT_EQ(edits, (std::vector<CellEdit>{{ColPitch, 3, "0.000000"}, {ColYaw, 3, "0.000000"}}));
}

TEST(OrientEntries, nextEntryMode_neverLooksPastTheRange) {
    const EntryTable table =
        tableWith({{0, at("0", "0", "0")}, {1, at("0", "1", "0")}, {2, at("x", "", "")}});
    EXPECT_EQ(columnOf(orientEntries(table, 0, 1, {}), ColYaw).size(), 2u);
}

TEST(OrientEntries, pointMode_openAnglesKeepThoseOfThePreviousEntry) {
    // Entry 1 lies straight below the point, entry 2 on it.
    const EntryTable table =
        tableWith({{0, at("5", "0", "10")}, {1, at("0", "0", "0")}, {2, at("0", "0", "10")}});
    const auto edits = orientEntries(table, 0, 2, Point3{0, 0, 10});
    EXPECT_EQ(columnOf(edits, ColYaw),
              (std::map<int, std::string>{{0, "90.000000"}, {1, "90.000000"}, {2, "90.000000"}}));
    EXPECT_EQ(columnOf(edits, ColPitch),
              (std::map<int, std::string>{{0, "0.000000"}, {1, "90.000000"}, {2, "90.000000"}}));
}

TEST(OrientEntries, touchesOnlyPitchAndYaw) {
    const auto edits =
        orientEntries(tableWith({{0, at("0", "0", "0")}, {1, at("1", "1", "1")}}), 0, 1, {});
    for (const CellEdit& edit : edits)
        EXPECT_TRUE(edit.column == ColPitch || edit.column == ColYaw);
}

TEST(OrientEntries, coordinateBeyondSingleRange_raises) {
    const EntryTable table = tableWith({{0, at("0", "0", "0")}, {1, at("1e39", "0", "0")}});
    EXPECT_THROW(orientEntries(table, 0, 1, {}), MathError);
    EXPECT_THROW(orientEntries(tableWith({{0, at("-3e38", "0", "0")}}), 0, 0, Point3{3e38f, 0, 0}),
                 MathError);
}

TEST(PositionFaults, firstBadCellOfEachEntry) {
    const EntryTable table = tableWith({{0, at("0", "0", "0")},
                                        {1, at("0", "y", "")},
                                        {2, at("1", "1", "1")},
                                        {3, at("", "", "")}});
    EXPECT_EQ(positionFaults(table, 0, 3), (std::vector<CellRef>{{ColY, 1}, {ColX, 3}}));
    EXPECT_TRUE(positionFaults(table, 0, 0).empty());
    EXPECT_EQ(positionFaults(table, 2, 5).size(), 3u);
}

} // namespace
} // namespace skyvane
