// Retime: the range's Frames rescaled, its Steps the new distances, the later entries moved by
// the change of length, and nothing else touched.
#include "tools/retimecalc.h"

#include <gtest/gtest.h>

#include "calc_support.h"
#include "core/playback.h"
#include "core/validation.h"

namespace skyvane {
namespace {

using test::columnOf;

// Frames 0, 10, 15, 40 (the range), then 45 after it.
const EntryTable kTable = test::tableWith({{0, {"0", "10", "0", "0", "0", "0", "0", "0"}},
                                           {1, {"10", "5", "1", "0", "0", "0", "10", "0"}},
                                           {2, {"15", "25", "2", "0", "0", "0", "20", "0"}},
                                           {3, {"40", "5", "3", "0", "0", "0", "30", "0"}},
                                           {4, {"45", "1", "4", "0", "0", "0", "40", "0"}}});

TEST(Retime, rangeRescaledLaterEntriesMoved_valuesStay) {
    const struct {
        long double factor;
        std::map<int, std::string> frames;
        std::map<int, std::string> steps;
    } cases[] = {
        {2, {{1, "20"}, {2, "30"}, {3, "80"}, {4, "85"}}, {{0, "20"}, {1, "10"}, {2, "50"}}},
        // 7.5 rounds to the even 8.
        {0.5L, {{1, "5"}, {2, "8"}, {3, "20"}, {4, "25"}}, {{0, "5"}, {1, "3"}, {2, "12"}}},
        // 0.75 and 1.125 both round to 1; the second is raised to 2.
        {0.075L, {{1, "1"}, {2, "2"}, {3, "3"}, {4, "8"}}, {{0, "1"}, {1, "1"}, {2, "1"}}},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(static_cast<double>(test.factor));
        EntryTable table = kTable;
        const Retiming result = retime(table, 0, 3, scaledDuration(table, 0, 3, test.factor));
        ASSERT_EQ(result.refusal, nullptr);
        EXPECT_EQ(columnOf(result.edits, ColFrame), test.frames);
        EXPECT_EQ(columnOf(result.edits, ColSteps), test.steps);
        EXPECT_EQ(result.edits.size(), test.frames.size() + test.steps.size());
        applyCellEdits(table, result.edits);
        EXPECT_FALSE(checkNode(table).fault());
        EXPECT_TRUE(nodeJumps(table, 5, 0).empty());
    }
}

TEST(Retime, impossibleDurationsAndRanges_refusedWithNothingWritten) {
    EXPECT_STREQ(retime(kTable, 0, 3, 2).refusal, kRetimeTooShort);
    EXPECT_TRUE(retime(kTable, 0, 3, 2).edits.empty());
    EXPECT_EQ(retime(kTable, 0, 3, 3).refusal, nullptr);
    EXPECT_STREQ(retime(kTable, 4, 9, 20).refusal, kRetimeTooFewEntries);
    EXPECT_STREQ(retime(kTable, 0, 3, 2147483643).refusal, kRetimeTooLong);
    EXPECT_EQ(retime(kTable, 0, 3, 2147483642).refusal, nullptr);
    EXPECT_STREQ(retime(kTable, 0, 3, scaledDuration(kTable, 0, 3, 1e30L)).refusal, kRetimeTooLong);
}

} // namespace
} // namespace skyvane
