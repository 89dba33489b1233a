// The three tools one after the other on one node, as a user builds a fly-by: the result
// passes the entry check and survives a KEY file round trip that the game would accept.
#include <gtest/gtest.h>

#include "calc_support.h"
#include "core/keyfile.h"
#include "tools/offsetcalc.h"
#include "tools/orientatecalc.h"
#include "tools/transformcalc.h"
#include "core/validation.h"

namespace skyvane {
namespace {

TEST(FlyBy, generatedOrientedAndShifted_passesTheEntryCheckAfterARoundTrip) {
    EntryTable table = test::tableWith({{0, {"0", "1", "0", "0", "0", "0", "0", "0"}}});

    TrajectoryRequest request;
    request.framesPerSecond = 15;
    request.time = 2;
    request.start = *startValues(table, 0);
    request.axes[0] = {toTableUnits(0, 40), toTableUnits(0, -5), true};
    request.axes[1] = {toTableUnits(1, 20), toTableUnits(1, 3), true};
    request.axes[2] = {0, 0, true};   // level flight: pitch 0
    request.axes[5] = {-45, 0, true}; // rolls through 0 into the 300s
    applyCellEdits(table, generateTrajectory(table, request));
    applyCellEdits(table, orientEntries(table, 0, 30, std::nullopt));
    // A tiny negative turn on angles of 0 must not produce 360.
    applyCellEdits(table, offsetEntries(table, 0, 40, {1, -2, 0.5f, -0.0000001f, 0, 0}));

    EXPECT_EQ(countEntries(table), 31);
    EXPECT_EQ(checkEntries(table, 0, kLastEntry).outcome, EntryCheck::Outcome::EmptyFrame);

    TKeyDocument document;
    addNode(document);
    document.Nodes[0].Mesh = "camera";
    document.Nodes[0].Entries = 31;
    document.Nodes[0].Data = table;
    const KeyReadResult read =
        readKeyText(keyFileText(document, "flyby.key", "12/07/2026", "21:00:00"));
    ASSERT_TRUE(read.ok) << read.reason;
    const EntryCheck check = checkEntries(read.document.Nodes.at(0).Data, 0, kLastEntry);
    EXPECT_FALSE(check.fault()) << check.message << " at " << check.column << "," << check.entry;
}

} // namespace
} // namespace skyvane
