// How the game plays a node of a KEY file, frame by frame: from each entry's Frame it moves by
// that entry's change per frame until the next entry's Frame, then takes the next entry's values.
// Where the two disagree the object jumps; the check below finds those places.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/document.h"
#include "core/keymotion.h"

namespace skyvane {

// One entry as the game holds it after loading the file the writer makes: values and changes
// read back from their six-decimal text, the flags as written.
struct PlayedEntry {
    std::int32_t frame = 0;
    int flags = 0;
    KeyValues values{};
    KeyValues changes{};
};

// Entry `entry` of the first `count` entries of a table; the last of them neither moves nor
// turns. Throws ConversionError or MathError for cells that do not convert.
PlayedEntry playedEntry(const EntryTable& table, int count, int entry);

// The values `elapsed` frames after the entry's Frame, in the game's 32-bit arithmetic: each
// position plus its change times elapsed when the entry moves, each angle likewise when it
// turns, otherwise the entry's values. Angles are not brought back into [0, 360).
KeyValues playedAfter(const PlayedEntry& entry, std::int64_t elapsed);

struct PlayedFrame {
    int entry = 0; // the entry the game plays from
    KeyValues values{};
};

// What the game shows at `frame` of a node with `count` > 0 entries: it plays from the last
// entry whose Frame has been reached (entry 0 before that), and from the last entry on it shows
// that entry's values.
PlayedFrame playedFrame(const EntryTable& table, int count, std::int64_t frame);

// One node as it is played: the name of the mesh it moves and its first `count` entries.
struct KeyNodeTrack {
    std::string mesh;
    const EntryTable* table = nullptr;
    int count = 0;
    std::int32_t joint = 0; // the model's hierarchy node it drives
};

// Where the played value at entry k + 1's Frame misses entry k + 1's values.
struct PlaybackJump {
    int node = 0;
    int entry = 0;             // entry k
    std::int32_t frame = 0;    // entry k + 1's Frame, where the object snaps
    std::int32_t steps = 0;    // entry k's Steps
    std::int64_t distance = 0; // frames from entry k to entry k + 1
    long double jku = 0;       // how far the position snaps, as a straight distance
    long double degrees = 0;   // the largest snap of the three angles, the shorter way round
};

// Misses up to these are rounding, not jumps; a whole turn (0 and 360) is no miss.
inline constexpr long double kJumpJku = 0.001L;
inline constexpr long double kJumpDegrees = 0.01L;

// The jumps among the first `count` entries of a table. Pairs whose Frames do not rise are
// never played and are left out. Throws like playedEntry, naming the node and entry.
std::vector<PlaybackJump> nodeJumps(const EntryTable& table, int count, int node);
// Every jump of every node, node by node.
std::vector<PlaybackJump> documentJumps(const TKeyDocument& document);

// "Node 0, entries 12 to 13: the object jumps 3.214 JKU at frame 40; Steps 10 is shorter than
// the 30 frames to the next entry."
std::string jumpMessage(const PlaybackJump& jump);
// One line per jump, or the all-clear when there is none.
std::string checkPlaybackMessage(const std::vector<PlaybackJump>& jumps);

inline constexpr const char* kNoJumps = "No jumps: the game plays every entry as shown.";

} // namespace skyvane
