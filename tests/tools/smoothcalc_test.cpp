// Smooth Path: the keys stay, the new entries lie on the curve through them, and the result
// passes the entry check and is played without a jump.
#include "tools/smoothcalc.h"

#include <gtest/gtest.h>

#include <cmath>

#include "core/numbers.h"
#include "core/playback.h"
#include "core/validation.h"

namespace skyvane {
namespace {

using Vec = std::array<long double, 3>;
struct Key {
    int frame;
    Vec at;
    long double yaw = 0;
};

long double dist(const Vec& a, const Vec& b) {
    return std::hypot(a[0] - b[0], a[1] - b[1], a[2] - b[2]);
}

// The centripetal curve in Hermite form (Yuksel's tangents), ends and held keys continued by
// reflecting the segment: the tool's curve, reached another way.
long double hermite(const std::vector<Key>& keys, std::size_t k, long double u, int i) {
    const Vec &p1 = keys[k].at, &p2 = keys[k + 1].at;
    const long double b = std::sqrt(dist(p1, p2));
    if (b == 0)
        return p1[i];
    const bool first = k == 0 || dist(keys[k - 1].at, p1) == 0;
    const bool last = k + 2 == keys.size() || dist(p2, keys[k + 2].at) == 0;
    const long double q0 = first ? 2 * p1[i] - p2[i] : keys[k - 1].at[i];
    const long double q3 = last ? 2 * p2[i] - p1[i] : keys[k + 2].at[i];
    const long double a = first ? b : std::sqrt(dist(keys[k - 1].at, p1));
    const long double c = last ? b : std::sqrt(dist(p2, keys[k + 2].at));
    const long double m1 = ((p1[i] - q0) / a - (p2[i] - q0) / (a + b) + (p2[i] - p1[i]) / b) * b;
    const long double m2 = ((p2[i] - p1[i]) / b - (q3 - p1[i]) / (b + c) + (q3 - p2[i]) / c) * b;
    return (2 * u * u * u - 3 * u * u + 1) * p1[i] + (u * u * u - 2 * u * u + u) * m1 +
           (3 * u * u - 2 * u * u * u) * p2[i] + (u * u * u - u * u) * m2;
}

// Keys from entry `at` on, after entries one frame apart; every Steps 1.
EntryTable keyTable(const std::vector<Key>& keys, int at = 0) {
    EntryTable table(kMaxEntries);
    for (int e = 0; e < at + static_cast<int>(keys.size()); ++e) {
        const Key key = e < at ? Key{e, {0, 0, 0}} : keys[static_cast<std::size_t>(e - at)];
        const std::string cells[] = {std::to_string(key.frame),    "1",
                                     formatFixedPoint6(key.at[0]), formatFixedPoint6(key.at[1]),
                                     formatFixedPoint6(key.at[2]), "0",
                                     formatFixedPoint6(key.yaw),   "0"};
        for (int c = 0; c < 8; ++c)
            table.setCell(ColFrame + c, e, cells[c]);
    }
    return table;
}

EntryTable smoothed(EntryTable table, int first, int last, int spacing, PathCurve curve) {
    applyCellEdits(table, smoothPath(table, first, last, spacing, curve).value());
    EXPECT_FALSE(checkNode(table).fault()) << checkNode(table).message;
    EXPECT_TRUE(nodeJumps(table, countEntries(table), 0).empty());
    return table;
}

TEST(SmoothPath, newEntriesLieOnTheCentripetalCurve_keysStay) {
    const std::vector<std::vector<Key>> paths = {
        {{0, {0, 0, 0}}, {9, {10, 5, -2}}},
        {{0, {0, 0, 0}}, {4, {1, 0, 0}}, {30, {11, 10, 2}}},
        {{0, {0, 0, 0}},
         {3, {2, 1, 0}},
         {20, {2, 1, 0}},
         {22, {40, 3, 1}},
         {45, {41, 30, 5}},
         {46, {41, 31, 5}},
         {90, {0, 0, -8}},
         {91, {-3, 0, -8}},
         {120, {-3, 60, 20}},
         {150, {0, 0, 0}}}};
    for (const std::vector<Key>& keys : paths)
        for (const int spacing : {1, 7}) {
            SCOPED_TRACE(std::to_string(keys.size()) + " keys, spacing " + std::to_string(spacing));
            const EntryTable before = keyTable(keys);
            const EntryTable after = smoothed(before, 0, 999, spacing, PathCurve::CatmullRom);
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
                for (int i = 0; i < 3; ++i)
                    EXPECT_NEAR(parseFloat(after.cell(ColX + i, e)), hermite(keys, k - 1, u, i),
                                1e-4L);
            }
            EXPECT_EQ(k, keys.size());
        }
    // Worked out apart from both curves, rounded to 32 bits; the last step keeps the remainder.
    const EntryTable after = smoothed(keyTable(paths[1]), 0, 2, 7, PathCurve::CatmullRom);
    const std::vector<EntryRow> table = {
        {"2", "11", "7", "2.985058", "1.555384", "0.311077", "0.000000", "0.000000", "0.000000"},
        {"3", "18", "7", "5.820383", "4.477596", "0.895519", "0.000000", "0.000000", "0.000000"},
        {"4", "25", "5", "8.929988", "7.840720", "1.568144", "0.000000", "0.000000", "0.000000"}};
    for (int e = 2; e <= 4; ++e)
        EXPECT_EQ(after.row(e), table[e - 2]);
}

// Yaw 350 to 20 to 350 turns through 0 both times, on either curve.
TEST(SmoothPath, anglesAcrossZeroGoTheShorterWayRound) {
    for (const PathCurve curve : {PathCurve::CatmullRom, PathCurve::Linear}) {
        const EntryTable after =
            smoothed(keyTable({{0, {0, 0, 0}, 350}, {6, {1, 0, 0}, 20}, {12, {2, 0, 0}, 350}}), 0,
                     2, 1, curve);
        for (int e = 1; e < 13; ++e)
            EXPECT_LT(std::fabs(std::remainder(parseFloat(after.cell(ColYaw, e)) -
                                                   parseFloat(after.cell(ColYaw, e - 1)),
                                               360.0L)),
                      8);
        // Catmull-Rom by hand: keys 350, 380, 350 a sixth of the way, tangents 30 and 0.
        EXPECT_EQ(after.cell(ColYaw, 1), curve == PathCurve::Linear ? "355.000000" : "355.694458");
    }
}

TEST(SmoothPath, laterEntriesMoveDown_noRoomRefusedWithNothingChanged) {
    // Keys at entries 2 to 4 (Frames 2, 7, 11), entry 5 after them.
    EntryTable table =
        keyTable({{2, {0, 0, 0}}, {7, {5, 0, 0}}, {11, {5, 4, 0}}, {12, {7, 7, 7}}}, 2);
    const EntryTable after = smoothed(table, 2, 4, 1, PathCurve::Linear);
    EXPECT_EQ(after.cell(ColX, 4), "2.000000");
    EXPECT_EQ(after.row(12), (EntryRow{"12", "12", "1", "7.000000", "7.000000", "7.000000", "0",
                                       "0.000000", "0"}));
    // Data after an emptied entry counts, as Insert Frames counts it.
    table.setCell(ColX, 994, "1");
    EXPECT_FALSE(smoothPath(table, 2, 4, 1, PathCurve::Linear));
    EXPECT_TRUE(smoothPath(table, 2, 4, 5, PathCurve::Linear));
    EXPECT_FALSE(smoothPath(keyTable({{990, {0, 0, 0}}, {992, {1, 0, 0}}}, 998), 998, 999, 1,
                            PathCurve::CatmullRom));
    EXPECT_EQ(smoothPath(table, 5, 9, 1, PathCurve::Linear)->size(), 0u);
}

} // namespace
} // namespace skyvane
