// Retime: the range's Frames rescaled, its Steps the new distances, the later entries moved by
// the change of length, and nothing else touched.
#include "retimecalc.h"

#include <gtest/gtest.h>

#include "calc_support.h"
#include "playback.h"
#include "validation.h"

namespace skyvane {
namespace {

using test::columnOf;
using test::tableWith;

// Frames 0, 10, 15, 40 (the last leading on to an entry at 45), then one after the range.
EntryTable fiveEntries() {
    return tableWith({{0, {"0", "10", "0", "0", "0", "0", "0", "0"}},
                      {1, {"10", "5", "1", "0", "0", "0", "10", "0"}},
                      {2, {"15", "25", "2", "0", "0", "0", "20", "0"}},
                      {3, {"40", "5", "3", "0", "0", "0", "30", "0"}},
                      {4, {"45", "1", "4", "0", "0", "0", "40", "0"}}});
}

struct RetimeCase {
    const char* name;
    std::int64_t duration;
    std::map<int, std::string> frames;
    std::map<int, std::string> steps;
};

TEST(Retime, rangeRescaledLaterEntriesMoved_valuesStay) {
    const std::vector<RetimeCase> cases = {
        {"factor 2", 80, {{1, "20"}, {2, "30"}, {3, "80"}, {4, "85"}},
         {{0, "20"}, {1, "10"}, {2, "50"}}},
        // 7.5 rounds to 8 (even), 20 stays.
        {"factor 0.5", 20, {{1, "5"}, {2, "8"}, {3, "20"}, {4, "25"}},
         {{0, "5"}, {1, "3"}, {2, "12"}}},
        // 0.75 and 1.125 both round to 1; the second is nudged to 2.
        {"squeezed to one frame each", 3, {{1, "1"}, {2, "2"}, {3, "3"}, {4, "8"}},
         {{0, "1"}, {1, "1"}, {2, "1"}}},
    };
    for (const RetimeCase& test : cases) {
        SCOPED_TRACE(test.name);
        EntryTable table = fiveEntries();
        const Retiming result = retime(table, 0, 3, test.duration);
        ASSERT_EQ(result.refusal, nullptr);
        EXPECT_EQ(columnOf(result.edits, ColFrame), test.frames);
        EXPECT_EQ(columnOf(result.edits, ColSteps), test.steps);
        EXPECT_EQ(result.edits.size(), test.frames.size() + test.steps.size());
        applyCellEdits(table, result.edits);
        EXPECT_FALSE(checkNode(table).fault());
        EXPECT_TRUE(nodeJumps(table, 5, 0).empty());
    }
    const EntryTable table = fiveEntries();
    EXPECT_EQ(scaledDuration(table, 0, 3, 2), 80);
    EXPECT_EQ(scaledDuration(table, 0, 3, 0.5L), 20);
    EXPECT_EQ(scaledDuration(table, 1, 999, 1), 35);
}

TEST(Retime, impossibleDurationsAndRanges_refusedWithNothingWritten) {
    const EntryTable table = fiveEntries();
    EXPECT_STREQ(retime(table, 0, 3, 2).refusal, kRetimeTooShort);
    EXPECT_STREQ(retime(table, 0, 3, 0).refusal, kRetimeTooShort);
    EXPECT_STREQ(retime(table, 4, 9, 20).refusal, kRetimeTooFewEntries);
    EXPECT_STREQ(retime(table, 0, 3, 2147483647).refusal, kRetimeTooLong);
    EXPECT_STREQ(retime(table, 0, 3, 2147483648LL).refusal, kRetimeTooLong);
    EXPECT_TRUE(retime(table, 0, 3, 2).edits.empty());
    EXPECT_EQ(retime(table, 0, 3, 2147483642).refusal, nullptr);
}

} // namespace
} // namespace skyvane
