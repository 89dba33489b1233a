// Smooth Path: the keys stay, the new entries lie on the curve through them, and the result is
// valid and played without a jump.
#include "smoothcalc.h"

#include <gtest/gtest.h>

#include <cmath>

#include "calc_support.h"
#include "numbers.h"
#include "playback.h"
#include "validation.h"

namespace skyvane {
namespace {

using test::Cells;
using test::tableWith;

using Vec = std::vector<long double>;

// Centripetal Catmull-Rom in Hermite form (tangents after Yuksel), the ends and held keys
// continued by reflecting the segment: the same curve as the tool's, reached another way.
Vec hermiteCurve(const std::vector<Vec>& keys, std::size_t k, long double u) {
    const auto dist = [](const Vec& a, const Vec& b) {
        long double s = 0;
        for (std::size_t i = 0; i < a.size(); ++i)
            s += (a[i] - b[i]) * (a[i] - b[i]);
        return std::sqrt(s);
    };
    const auto reflect = [](const Vec& a, const Vec& b) {
        Vec r(a.size());
        for (std::size_t i = 0; i < a.size(); ++i)
            r[i] = 2 * a[i] - b[i];
        return r;
    };
    const Vec& p1 = keys[k];
    const Vec& p2 = keys[k + 1];
    if (dist(p1, p2) == 0)
        return p1;
    const Vec p0 = k > 0 && dist(keys[k - 1], p1) > 0 ? keys[k - 1] : reflect(p1, p2);
    const Vec p3 = k + 2 < keys.size() && dist(p2, keys[k + 2]) > 0 ? keys[k + 2] : reflect(p2, p1);
    const long double t01 = std::sqrt(dist(p0, p1)), t12 = std::sqrt(dist(p1, p2)),
                      t23 = std::sqrt(dist(p2, p3));
    Vec point(p1.size());
    for (std::size_t i = 0; i < p1.size(); ++i) {
        const long double m1 =
            ((p1[i] - p0[i]) / t01 - (p2[i] - p0[i]) / (t01 + t12) + (p2[i] - p1[i]) / t12) * t12;
        const long double m2 =
            ((p2[i] - p1[i]) / t12 - (p3[i] - p1[i]) / (t12 + t23) + (p3[i] - p2[i]) / t23) * t12;
        point[i] = (2 * u * u * u - 3 * u * u + 1) * p1[i] + (u * u * u - 2 * u * u + u) * m1 +
                   (-2 * u * u * u + 3 * u * u) * p2[i] + (u * u * u - u * u) * m2;
    }
    return point;
}

struct Key {
    int frame;
    Vec position;
    long double yaw;
};

EntryTable keyTable(const std::vector<Key>& keys, int at = 0) {
    EntryTable table(kMaxEntries);
    for (int e = 0; e < at; ++e)
        for (int c = ColFrame; c <= ColRoll; ++c)
            table.setCell(c, e, c == ColFrame ? std::to_string(e) : c == ColSteps ? "1" : "0");
    for (std::size_t i = 0; i < keys.size(); ++i) {
        const int e = at + static_cast<int>(i);
        const Cells cells = {std::to_string(keys[i].frame), "1",
                             formatFixedPoint6(keys[i].position[0]),
                             formatFixedPoint6(keys[i].position[1]),
                             formatFixedPoint6(keys[i].position[2]), "0",
                             formatFixedPoint6(keys[i].yaw), "0"};
        for (std::size_t c = 0; c < cells.size(); ++c)
            table.setCell(ColFrame + static_cast<int>(c), e, cells[c]);
    }
    return table;
}

EntryTable smoothed(EntryTable table, int first, int last, int spacing, PathCurve curve) {
    const std::optional<std::vector<CellEdit>> edits =
        smoothPath(table, first, last, spacing, curve);
    EXPECT_TRUE(edits.has_value());
    applyCellEdits(table, edits.value_or(std::vector<CellEdit>{}));
    return table;
}

void expectValidWithoutJumps(const EntryTable& table) {
    EXPECT_FALSE(checkNode(table).fault()) << checkNode(table).message;
    EXPECT_TRUE(nodeJumps(table, countEntries(table), 0).empty());
}

long double cellValue(const EntryTable& table, int column, int e) {
    return parseFloat(table.cell(column, e));
}

// Every entry between the keys on the independent curve, every key's cells but its Steps as
// they were, spacings 1 and 7.
TEST(SmoothPath, newEntriesLieOnTheCentripetalCurve_keysStay) {
    const std::vector<std::vector<Key>> paths = {
        {{0, {0, 0, 0}, 0}, {9, {10, 5, -2}, 0}},
        {{0, {0, 0, 0}, 0}, {4, {1, 0, 0}, 0}, {30, {11, 10, 2}, 0}},
        {{0, {0, 0, 0}, 0},      {3, {2, 1, 0}, 0},   {20, {2, 1, 0}, 0},  {22, {40, 3, 1}, 0},
         {45, {41, 30, 5}, 0},   {46, {41, 31, 5}, 0}, {90, {0, 0, -8}, 0}, {91, {-3, 0, -8}, 0},
         {120, {-3, 60, 20}, 0}, {150, {0, 0, 0}, 0}},
    };
    for (const std::vector<Key>& keys : paths) {
        std::vector<Vec> points;
        for (const Key& key : keys)
            points.push_back(key.position);
        for (const int spacing : {1, 7}) {
            SCOPED_TRACE(std::to_string(keys.size()) + " keys, spacing " + std::to_string(spacing));
            const EntryTable before = keyTable(keys);
            const EntryTable after = smoothed(before, 0, 999, spacing, PathCurve::CatmullRom);
            expectValidWithoutJumps(after);
            std::size_t k = 0;
            for (int e = 0; e < countEntries(after); ++e) {
                const int frame = parseInt(after.cell(ColFrame, e));
                if (frame == keys[k].frame) {
                    for (int c : {ColFrame, ColX, ColY, ColZ, ColPitch, ColYaw, ColRoll})
                        EXPECT_EQ(after.cell(c, e), before.cell(c, static_cast<int>(k)));
                    ++k;
                    continue;
                }
                EXPECT_EQ(frame, parseInt(after.cell(ColFrame, e - 1)) + spacing);
                const long double u = static_cast<long double>(frame - keys[k - 1].frame) /
                                      (keys[k].frame - keys[k - 1].frame);
                const Vec expected = hermiteCurve(points, k - 1, u);
                for (int axis = 0; axis < 3; ++axis)
                    EXPECT_NEAR(cellValue(after, ColX + axis, e), expected[axis], 1e-4L)
                        << "frame " << frame;
            }
            EXPECT_EQ(k, keys.size());
        }
    }
}

// The points worked out apart from both curves, then rounded to 32 bits.
TEST(SmoothPath, tableOfPoints_spacingSevenKeepsTheRemainderAsOneStep) {
    const EntryTable after =
        smoothed(keyTable({{0, {0, 0, 0}, 0}, {4, {1, 0, 0}, 0}, {30, {11, 10, 2}, 0}}), 0, 2, 7,
                 PathCurve::CatmullRom);
    const std::vector<std::pair<int, Cells>> expected = {
        {0, {"0", "4", "0.000000", "0.000000", "0.000000"}},
        {1, {"4", "7", "1.000000", "0.000000", "0.000000"}},
        {2, {"11", "7", "2.985058", "1.555384", "0.311077"}},
        {3, {"18", "7", "5.820383", "4.477596", "0.895519"}},
        {4, {"25", "5", "8.929988", "7.840720", "1.568144"}},
        {5, {"30", "1", "11.000000", "10.000000", "2.000000"}},
    };
    for (const auto& [e, cells] : expected)
        for (std::size_t c = 0; c < cells.size(); ++c)
            EXPECT_EQ(after.cell(ColFrame + static_cast<int>(c), e), cells[c]) << e << " " << c;
    EXPECT_EQ(countEntries(after), 6);
}

// Yaw 350 to 20 to 350 turns through 0 both times; Linear keeps the turn even.
TEST(SmoothPath, anglesAcrossZeroGoTheShorterWayRound) {
    for (const PathCurve curve : {PathCurve::CatmullRom, PathCurve::Linear}) {
        const EntryTable after = smoothed(
            keyTable({{0, {0, 0, 0}, 350}, {6, {1, 0, 0}, 20}, {12, {2, 0, 0}, 350}}), 0, 2, 1,
            curve);
        expectValidWithoutJumps(after);
        for (int e = 1; e < 13; ++e) {
            const long double turn = cellValue(after, ColYaw, e) - cellValue(after, ColYaw, e - 1);
            EXPECT_LT(std::fabs(std::remainder(turn, 360.0L)), 8) << e;
        }
        if (curve == PathCurve::Linear) {
            EXPECT_EQ(after.cell(ColYaw, 1), "355.000000");
        }
        EXPECT_EQ(after.cell(ColYaw, 6), "20.000000");
    }
}

// Keys in the middle of a node: the entries after them move down and are still reached.
TEST(SmoothPath, entriesAfterTheRangeMoveDown_roomCheckedFirst) {
    EntryTable table = keyTable({{0, {0, 0, 0}, 0}, {5, {5, 0, 0}, 0}, {9, {5, 4, 0}, 0}}, 2);
    table.setCell(ColFrame, 5, "12");
    table.setCell(ColSteps, 5, "1");
    for (int c = ColX; c <= ColRoll; ++c)
        table.setCell(c, 5, "7");
    // Frames 0, 1 then keys at 2, 7, 11: 4 + 3 new entries.
    for (int e = 2; e < 5; ++e)
        table.setCell(ColFrame, e, std::to_string(parseInt(table.cell(ColFrame, e)) + 2));
    const EntryTable after = smoothed(table, 2, 4, 1, PathCurve::Linear);
    expectValidWithoutJumps(after);
    EXPECT_EQ(after.row(1), table.row(1));
    EXPECT_EQ(after.cell(ColX, 4), "2.000000");
    EXPECT_EQ(after.cell(ColFrame, 11), "11");
    EXPECT_EQ(after.cell(ColSteps, 11), "1");
    EXPECT_EQ(after.cell(ColEntry, 12), "12");
    EXPECT_EQ(after.cell(ColFrame, 12), "12");
    EXPECT_EQ(countEntries(after), 13);

    // At the end of the table, and with data after an emptied entry: refused, nothing computed.
    const EntryTable atEnd = keyTable({{990, {0, 0, 0}, 0}, {992, {1, 0, 0}, 0}}, 998);
    EXPECT_FALSE(smoothPath(atEnd, 998, 999, 1, PathCurve::CatmullRom).has_value());
    EXPECT_TRUE(smoothPath(atEnd, 998, 999, 2, PathCurve::CatmullRom).has_value());
    table.setCell(ColX, 994, "1");
    EXPECT_FALSE(smoothPath(table, 2, 4, 1, PathCurve::Linear).has_value());
    EXPECT_TRUE(smoothPath(table, 2, 4, 5, PathCurve::Linear).has_value());
    EXPECT_EQ(smoothPath(table, 5, 9, 1, PathCurve::Linear)->size(), 0u);
}

} // namespace
} // namespace skyvane
