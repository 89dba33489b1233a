// Transform Object's arithmetic: the generated cells, the frame count, the coupling of the
// velocity boxes and the initial velocities read from the table.
#include <gtest/gtest.h>

#include "calc_support.h"
#include "core/numbers.h"
#include "tools/transformcalc.h"

namespace skyvane {
namespace {

using test::Cells;
using test::columnOf;
using test::tableWith;
using test::written;

constexpr int kX = 0;
constexpr int kYaw = 4;

const Cells kStartCells = {"0", "1", "0", "0", "0", "0", "0", "0"};

TrajectoryRequest requestFor(float fps, float time, const AxisValues& start) {
    TrajectoryRequest request;
    request.framesPerSecond = fps;
    request.time = time;
    request.start = start;
    return request;
}

// One ticked axis moving from a start cell; the texts expected in its column by entry.
struct MotionCase {
    const char* name;
    float fps;
    float time;
    int axis;
    const char* startCell;
    float typedVelocity;
    float typedAcceleration;
    int entryCount;
    std::map<int, std::string> expected;
};

void PrintTo(const MotionCase& row, std::ostream* out) {
    *out << row.name;
}

class GeneratedMotion : public ::testing::TestWithParam<MotionCase> {};

TEST_P(GeneratedMotion, writesOneEntryPerFrame) {
    const MotionCase& c = GetParam();
    Cells cells = kStartCells;
    cells[2 + c.axis] = c.startCell;
    const EntryTable table = tableWith({{0, cells}});
    TrajectoryRequest request = requestFor(c.fps, c.time, *startValues(table, 0));
    request.axes[c.axis] = {toTableUnits(c.axis, c.typedVelocity),
                            toTableUnits(c.axis, c.typedAcceleration), true};

    const auto column = columnOf(generateTrajectory(table, request), kValueColumns[c.axis]);

    EXPECT_EQ(column.size(), static_cast<std::size_t>(c.entryCount));
    for (const auto& [entry, text] : c.expected)
        EXPECT_EQ(column.at(entry), text) << "entry " << entry;
}

INSTANTIATE_TEST_SUITE_P(
    Trajectories, GeneratedMotion,
    ::testing::Values(
        MotionCase{"constantVelocityInMetres",
                   15,
                   2,
                   kX,
                   "0",
                   10,
                   0,
                   31,
                   {{0, "0.000000"}, {1, "0.066667"}, {2, "0.133333"}, {30, "2.000000"}}},
        MotionCase{"accelerationFromSingleStart",
                   30,
                   1,
                   kX,
                   "100.1",
                   0,
                   20,
                   31,
                   {{0, "100.099998"}, {1, "100.101112"}, {2, "100.104446"}, {30, "101.099998"}}},
        MotionCase{"yawWrapsAbove360",
                   15,
                   2,
                   kYaw,
                   "350",
                   90,
                   0,
                   31,
                   {{0, "350.000000"}, {1, "356.000000"}, {2, "2.000000"}}},
        MotionCase{"yawWrapsBelowZero",
                   15,
                   2,
                   kYaw,
                   "10",
                   -30,
                   0,
                   31,
                   {{0, "10.000000"}, {1, "8.000000"}, {30, "310.000000"}}},
        MotionCase{
            "hairBelowZeroIsWrittenAsZero", 15, 0, kYaw, "-0.0000001", 0, 0, 1, {{0, "0.000000"}}},
        MotionCase{
            "backwardsInTime", -1, -2, kX, "0", 10, 0, 3, {{1, "-1.000000"}, {2, "-2.000000"}}}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(FrameCount, roundsHalvesToEven) {
    const struct {
        float fps, time;
        int n;
    } cases[] = {{15, 2, 30}, {25, 0.5f, 12}, {1, 2.5f, 2},  {1, 1.5f, 2},
                 {15, 0, 0},  {15, -2, -30},  {-15, 2, -30}, {-1, -2, 2}};
    for (const auto& c : cases)
        EXPECT_EQ(frameCount(c.fps, c.time), c.n) << c.fps << " x " << c.time;
}

TEST(FrameCount, beyondIntegerRange_isInvalidOperation) {
    try {
        frameCount(1e10f, 1);
        FAIL() << "no MathError";
    } catch (const MathError& error) {
        EXPECT_STREQ(error.what(), kInvalidOperation);
    }
}

TEST(GenerateTrajectory, framesFollowPredecessorAndStepsAreOne) {
    const EntryTable table = tableWith({{4, {"10", "5", "0", "0", "0", "0", "0", "0"}},
                                        {5, {"99", "7", "0", "0", "0", "0", "0", "0"}}});
    TrajectoryRequest request = requestFor(1, 2, *startValues(table, 5));
    request.startEntry = 5;
    const auto edits = generateTrajectory(table, request);
    EXPECT_EQ(columnOf(edits, ColFrame),
              (std::map<int, std::string>{{5, "15"}, {6, "16"}, {7, "17"}}));
    EXPECT_EQ(columnOf(edits, ColSteps),
              (std::map<int, std::string>{{5, "1"}, {6, "1"}, {7, "1"}}));
}

// An unticked column keeps what its cells hold; an empty one holds the start entry's value,
// so the entries written are complete.
TEST(GenerateTrajectory, withoutTicks_keepsTextAndFillsEmptyCellsWithStartValues) {
    const EntryTable table = tableWith({{0, {"0", "1", "1", "-2", "3", "10", "20", "30"}},
                                        {2, {"", "", "", "", "", "", "99", ""}}});
    const auto edits = generateTrajectory(table, requestFor(1, 2, *startValues(table, 0)));
    EXPECT_EQ(columnOf(edits, ColFrame).size(), 3u);
    EXPECT_EQ(columnOf(edits, ColY),
              (std::map<int, std::string>{{1, "-2.000000"}, {2, "-2.000000"}}));
    EXPECT_EQ(columnOf(edits, ColYaw), (std::map<int, std::string>{{1, "20.000000"}}));
    EXPECT_EQ(columnOf(edits, ColRoll),
              (std::map<int, std::string>{{1, "30.000000"}, {2, "30.000000"}}));
}

TEST(GenerateTrajectory, startEntryZero_getsFrameZero) {
    const EntryTable table = tableWith({{0, {"7", "1", "0", "0", "0", "0", "0", "0"}}});
    EXPECT_EQ(
        written(generateTrajectory(table, requestFor(15, 0, *startValues(table, 0))), ColFrame, 0),
        "0");
}

TEST(GenerateTrajectory, unusablePredecessor_givesTheStartEntryItsOwnIndex) {
    const EntryTable table = tableWith({{3, {"x", "1"}}, {4, kStartCells}});
    TrajectoryRequest request = requestFor(15, 0, *startValues(table, 4));
    request.startEntry = 4;
    EXPECT_EQ(written(generateTrajectory(table, request), ColFrame, 4), "4");
}

TEST(GenerateTrajectory, timeZero_rewritesOnlyTheStartEntry) {
    const EntryTable table = tableWith({{0, {"0", "4", "12.5", "0", "0", "0", "0", "0"}}});
    TrajectoryRequest request = requestFor(15, 0, *startValues(table, 0));
    request.axes[kX].written = true;
    const auto edits = generateTrajectory(table, request);
    EXPECT_EQ(edits, (std::vector<CellEdit>{
                         {ColFrame, 0, "0"}, {ColSteps, 0, "1"}, {ColX, 0, "12.500000"}}));
}

TEST(GenerateTrajectory, negativeFrameCount_writesNothing) {
    const EntryTable table = tableWith({{0, kStartCells}});
    EXPECT_TRUE(generateTrajectory(table, requestFor(15, -2, *startValues(table, 0))).empty());
    EXPECT_TRUE(generateTrajectory(table, requestFor(-15, 2, *startValues(table, 0))).empty());
}

TEST(GenerateTrajectory, entriesPastTheTableAreDropped) {
    const EntryTable table = tableWith({{990, kStartCells}});
    TrajectoryRequest request = requestFor(15, 2, *startValues(table, 990));
    request.startEntry = 990;
    const auto frames = columnOf(generateTrajectory(table, request), ColFrame);
    EXPECT_EQ(frames.size(), 10u);
    EXPECT_EQ(frames.begin()->first, 990);
    EXPECT_EQ(frames.rbegin()->first, kLastEntry);
}

TEST(GenerateTrajectory, startEntryOutsideTable_isClamped) {
    const EntryTable table = tableWith({{kLastEntry, kStartCells}});
    TrajectoryRequest request = requestFor(15, 2, *startValues(table, 5000));
    request.startEntry = 5000;
    const auto frames = columnOf(generateTrajectory(table, request), ColFrame);
    EXPECT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames.begin()->first, kLastEntry);
}

TEST(GenerateTrajectory, zeroFrameRate_raisesBeforeAnyCell) {
    const EntryTable table = tableWith({{0, kStartCells}});
    EXPECT_THROW(generateTrajectory(table, requestFor(0, 2, *startValues(table, 0))), MathError);
}

TEST(GenerateTrajectory, overflowPartWay_raises) {
    const EntryTable table = tableWith({{0, {"0", "1", "3e38", "0", "0", "0", "0", "0"}}});
    TrajectoryRequest request = requestFor(1, 5, *startValues(table, 0));
    request.axes[kX] = {1e38f, 0, true};
    EXPECT_THROW(generateTrajectory(table, request), MathError);
}

TEST(GenerateTrajectory, hugeAngle_endsInRange) {
    const EntryTable table = tableWith({{0, {"0", "1", "0", "0", "0", "0", "1e30", "0"}}});
    TrajectoryRequest request = requestFor(15, 0, *startValues(table, 0));
    request.axes[kYaw].written = true;
    const float yaw = parseSingle(*written(generateTrajectory(table, request), ColYaw, 0));
    EXPECT_GE(yaw, 0.0f);
    EXPECT_LT(yaw, 360.0f);
}

TEST(StartValues, anyUnreadableCell_givesNothing) {
    EXPECT_TRUE(startValues(tableWith({{0, kStartCells}}), 0));
    EXPECT_FALSE(startValues(tableWith({{0, {"0", "1", "0", "0", "0", "", "0", "0"}}}), 0));
    EXPECT_FALSE(startValues(tableWith({{0, {"0", "1", "0", "0", "0", "0", "0", "abc"}}}), 0));
}

TEST(TableUnits, metresBecomeGameUnitsAndDegreesStay) {
    EXPECT_EQ(toTableUnits(kX, 10), 1.0f);
    EXPECT_EQ(toTableUnits(kYaw, 10), 10.0f);
}

TEST(StartEntry, clampedIntoTheTable) {
    EXPECT_EQ(clampStartEntry(-5), 0);
    EXPECT_EQ(clampStartEntry(500), 500);
    EXPECT_EQ(clampStartEntry(1500), kLastEntry);
}

TEST(InitialVelocities, stepFromPreviousEntryTimesFrameRate) {
    const EntryTable table = tableWith({{0, {"0", "1", "0", "2", "", "350", "0", "0"}},
                                        {1, {"1", "1", "1", "1.5", "7", "10", "0.5", "0"}}});
    EXPECT_EQ(initialVelocities(table, 1, 15),
              (AxisTexts{"150.000", "-75.000", "0.000", "-5100.000", "7.500", "0.000"}));
}

TEST(InitialVelocities, firstEntryHasNone) {
    const EntryTable table = tableWith({{0, {"0", "1", "5", "5", "5", "5", "5", "5"}}});
    AxisTexts zero;
    zero.fill("0.000");
    EXPECT_EQ(initialVelocities(table, 0, 15), zero);
}

// The product is formatted as computed, not first rounded to 32 bits: 86.005467 is held as
// 86.00547027587890625, times 150 gives 12900.8205413..., which rounds up at the third
// decimal; through a 32-bit float it would be 12900.8203125 and round down.
TEST(InitialVelocities, roundsTheProductAtItsDecimalFive) {
    const EntryTable table = tableWith({{0, {"0", "1", "0", "0", "0", "0", "0", "0"}},
                                        {1, {"1", "1", "86.005467", "0", "0", "0", "0", "0"}}});
    EXPECT_EQ(initialVelocities(table, 1, 15)[kX], "12900.821");
}

// The zero is a number the coupling reads back: under a decimal comma it is written with one.
TEST(InitialVelocities, emptyPredecessor_zeroInTheProgramsSeparator) {
    setDecimalSeparator(',');
    const EntryTable table = tableWith({{1, {"1", "1", "5", "5", "5", "5", "5", "5"}}});
    const AxisTexts velocities = initialVelocities(table, 1, 15);
    const std::string finalVelocity = finalVelocityText(velocities[0], "1,5", "2,00");
    setDecimalSeparator('.');
    AxisTexts zero;
    zero.fill("0,000");
    EXPECT_EQ(velocities, zero);
    EXPECT_EQ(finalVelocity, "3,000000");
}

TEST(Coupling, finalVelocityAndAcceleration) {
    EXPECT_EQ(accelerationText("5", "6", "2"), "0.500000");
    EXPECT_EQ(accelerationText("0", "10", "3"), "3.333333");
    EXPECT_EQ(finalVelocityText("0", "0.3", "2"), "0.600000");
    EXPECT_EQ(finalVelocityText("0", "abc", "2"), "?");
    EXPECT_EQ(accelerationText("1", "2", ""), "?");
}

TEST(Coupling, timeZero_raises) {
    try {
        accelerationText("0", "5", "0");
        FAIL() << "no MathError";
    } catch (const MathError& error) {
        EXPECT_STREQ(error.what(), kDivisionByZero);
    }
    try {
        accelerationText("5", "5", "0");
        FAIL() << "no MathError";
    } catch (const MathError& error) {
        EXPECT_STREQ(error.what(), kInvalidOperation);
    }
}

TEST(Coupling, oneUnreadableValue_makesEveryFinalVelocityUnknown) {
    AxisTexts initial{"1", "2", "3", "4", "5", "6"};
    AxisTexts acceleration{"0", "0", "0", "0", "0", "0"};
    EXPECT_EQ(finalVelocityTexts(initial, acceleration, "2")[5], "6.000000");
    acceleration[4] = "x";
    AxisTexts unknown;
    unknown.fill("?");
    EXPECT_EQ(finalVelocityTexts(initial, acceleration, "2"), unknown);
    EXPECT_EQ(finalVelocityTexts(initial, {"0", "0", "0", "0", "0", "0"}, "t"), unknown);
}

} // namespace
} // namespace skyvane
