// Mend Jumps: every Steps shorter than the frames to the next entry reaches it, in every node,
// and nothing else changes.
#include "mendcalc.h"

#include <gtest/gtest.h>

#include "calc_support.h"

namespace skyvane {
namespace {

using test::tableWith;

std::vector<KeyNodeTrack> tracksOf(const std::vector<EntryTable>& tables,
                                   const std::vector<int>& counts) {
    std::vector<KeyNodeTrack> tracks;
    for (std::size_t k = 0; k < tables.size(); ++k)
        tracks.push_back({"mesh", &tables[k], counts[k]});
    return tracks;
}

TEST(MendJumps, everyJumpOfEveryNodeGone_nothingElseChanged) {
    std::vector<EntryTable> tables = {
        // Steps 1 at frames 15 apart, Steps 10 of 30, then one that already reaches.
        tableWith({{0, {"0", "1", "0", "0", "0", "0", "0", "0"}},
                   {1, {"15", "10", "3", "0", "0", "0", "90", "0"}},
                   {2, {"45", "5", "6", "1", "0", "0", "180", "0"}},
                   {3, {"50", "1", "6", "2", "0", "0", "180", "0"}}}),
        // Nothing to mend here.
        tableWith({{0, {"0", "2", "0", "0", "0", "0", "0", "0"}},
                   {1, {"2", "1", "1", "0", "0", "0", "0", "0"}}}),
        // A turn through 0/360 played for too long; the last entry's Steps leads nowhere.
        tableWith({{0, {"0", "1", "0", "0", "0", "0", "350", "0"}},
                   {1, {"3", "1", "0", "0", "0", "0", "10", "0"}}}),
    };
    const std::vector<int> counts = {4, 2, 2};
    std::size_t before = 0;
    for (std::size_t k = 0; k < tables.size(); ++k)
        before += nodeJumps(tables[k], counts[k], static_cast<int>(k)).size();
    ASSERT_EQ(before, 3u);

    const std::vector<NodeCellEdits> mended = mendJumps(tracksOf(tables, counts));
    ASSERT_EQ(mended.size(), 2u);
    EXPECT_EQ(mended[0].node, 0);
    EXPECT_EQ(mended[0].edits, (std::vector<CellEdit>{{ColSteps, 0, "15"}, {ColSteps, 1, "30"}}));
    EXPECT_EQ(mended[1].node, 2);
    EXPECT_EQ(mended[1].edits, (std::vector<CellEdit>{{ColSteps, 0, "3"}}));
    EXPECT_EQ(mendedCount(mended), 3);
    EXPECT_EQ(mendMessage(3), "Mended 3 jumps.");
    EXPECT_EQ(mendMessage(1), "Mended 1 jump.");

    for (const NodeCellEdits& node : mended)
        applyCellEdits(tables[static_cast<std::size_t>(node.node)], node.edits);
    for (std::size_t k = 0; k < tables.size(); ++k)
        EXPECT_TRUE(nodeJumps(tables[k], counts[k], static_cast<int>(k)).empty()) << k;
    EXPECT_TRUE(mendJumps(tracksOf(tables, counts)).empty());
}

TEST(MendJumps, unplayedPairsAndCellsThatAreNoIntegers_leftAlone) {
    const EntryTable table = tableWith({{0, {"0", "1", "0", "0", "0", "0", "0", "0"}},
                                        {1, {"0", "x", "1", "0", "0", "0", "0", "0"}},
                                        {2, {"9", "1", "2", "0", "0", "0", "0", "0"}},
                                        {3, {"4", "1", "3", "0", "0", "0", "0", "0"}},
                                        {4, {"", "1", "3", "0", "0", "0", "0", "0"}},
                                        {5, {"30", "1", "3", "0", "0", "0", "0", "0"}}});
    // Beyond the node's count nothing is looked at either.
    EXPECT_TRUE(mendJumps({{"mesh", &table, 4}}).empty());
    EXPECT_EQ(mendMessage(0), "Nothing to mend: every Steps reaches the next entry.");
}

} // namespace
} // namespace skyvane
