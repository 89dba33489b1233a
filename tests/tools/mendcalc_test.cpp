// Mend Jumps: every Steps shorter than the frames to the next entry reaches it, in every node,
// and nothing else changes.
#include "tools/mendcalc.h"

#include <gtest/gtest.h>

#include "calc_support.h"

namespace skyvane {
namespace {

using test::tableWith;

TEST(MendJumps, everyJumpOfEveryNodeGone_nothingElseChanged) {
    std::vector<EntryTable> tables = {
        // Steps 1 of 15 frames, 10 of 30; then one already reaching; the last leads nowhere.
        tableWith({{0, {"0", "1", "0", "0", "0", "0", "0", "0"}},
                   {1, {"15", "10", "3", "0", "0", "0", "90", "0"}},
                   {2, {"45", "5", "6", "1", "0", "0", "180", "0"}},
                   {3, {"50", "1", "6", "2", "0", "0", "180", "0"}}}),
        tableWith({{0, {"0", "2", "0", "0", "0", "0", "0", "0"}},
                   {1, {"2", "1", "1", "0", "0", "0", "0", "0"}}}),
        // Unplayed pairs (Frames not rising), a Steps that is no integer, and entries past the
        // node's count are left alone.
        tableWith({{0, {"0", "1", "0", "0", "0", "0", "350", "0"}},
                   {1, {"3", "x", "0", "0", "0", "0", "10", "0"}},
                   {2, {"9", "1", "0", "0", "0", "0", "10", "0"}},
                   {3, {"4", "1", "0", "0", "0", "0", "10", "0"}},
                   {4, {"30", "1", "0", "0", "0", "0", "10", "0"}}}),
    };
    std::vector<KeyNodeTrack> tracks;
    for (const EntryTable& table : tables)
        tracks.push_back({"mesh", &table, 4});
    tracks[1].count = 2;
    const std::vector<NodeCellEdits> mended = mendJumps(tracks);
    ASSERT_EQ(mended.size(), 2u);
    EXPECT_EQ(mended[0].node, 0);
    EXPECT_EQ(mended[0].edits, (std::vector<CellEdit>{{ColSteps, 0, "15"}, {ColSteps, 1, "30"}}));
    EXPECT_EQ(mended[1].node, 2);
    EXPECT_EQ(mended[1].edits, (std::vector<CellEdit>{{ColSteps, 0, "3"}}));
    EXPECT_EQ(mendMessage(mendedCount(mended)), "Mended 3 jumps.");
    EXPECT_EQ(mendMessage(1), "Mended 1 jump.");
    EXPECT_EQ(mendMessage(0), "Nothing to mend: every Steps reaches the next entry.");

    for (const NodeCellEdits& node : mended)
        applyCellEdits(tables[static_cast<std::size_t>(node.node)], node.edits);
    EXPECT_TRUE(nodeJumps(tables[0], 4, 0).empty());
    EXPECT_TRUE(nodeJumps(tables[1], 2, 1).empty());
    EXPECT_TRUE(mendJumps(tracks).empty());
}

} // namespace
} // namespace skyvane
