// Mend Jumps' arithmetic: the Steps cells that fall short of the frames to the next entry, in
// every node, lengthened to reach it, as plain functions over the nodes as they are played.
#pragma once

#include <string>
#include <vector>

#include "core/playback.h"
#include "core/session.h"

namespace skyvane {

// For every node, each Steps that is shorter than the frames from its entry to the next one,
// set to that distance. Entries whose Frame or Steps is no integer, and pairs whose Frames do
// not rise (the game never plays them), are left alone. Nodes with nothing to mend are left out.
std::vector<NodeCellEdits> mendJumps(const std::vector<KeyNodeTrack>& nodes);

// How many Steps cells the edits set.
int mendedCount(const std::vector<NodeCellEdits>& edits);

// "Mended 3 jumps." for the box that follows a mend.
std::string mendMessage(int mended);

} // namespace skyvane
