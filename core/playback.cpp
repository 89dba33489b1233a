// The playback of KEY entries as the game does it, and the check for the places where the
// object jumps.
#include "core/playback.h"

#include <algorithm>
#include <cmath>

namespace skyvane {

namespace {

// Each value as the game reads it from the file.
KeyValues readBack(const KeyValues& values) {
    KeyValues read{};
    for (int i = 0; i < kValueCount; ++i)
        read[i] = asReadFromKeyFile(values[i]);
    return read;
}

// An entry as the game holds it, from its values as read back and its motion as written.
PlayedEntry asPlayed(std::int32_t frame, const KeyValues& read, const KeyMotion& motion) {
    return {frame, motion.flags, read, readBack(motion.changes)};
}

std::int32_t frameOf(const EntryTable& table, int entry) {
    return parseInt(table.cell(ColFrame, entry));
}

// value + change x elapsed, each operation rounded to 32 bits as the game's floats are.
float moved(float value, float change, float elapsed) {
    const float distance = toSingle(static_cast<long double>(change) * elapsed);
    return toSingle(static_cast<long double>(value) + distance);
}

// An angle difference brought into (-180, 180], so a whole turn is no difference.
long double shorterWayRound(long double degrees) {
    long double d = std::fmod(degrees, 360.0L);
    if (d > 180)
        d -= 360;
    else if (d <= -180)
        d += 360;
    return d;
}

// How far the value played up to entry k + 1's Frame misses entry k + 1's values.
void measureMiss(const KeyValues& played, const KeyValues& target, PlaybackJump& jump) {
    long double squares = 0;
    for (int i = 0; i < kFirstAngle; ++i) {
        const long double d = static_cast<long double>(played[i]) - target[i];
        squares += d * d;
    }
    jump.jku = std::sqrt(squares);
    jump.degrees = 0;
    for (int i = kFirstAngle; i < kValueCount; ++i) {
        const long double d = static_cast<long double>(played[i]) - target[i];
        jump.degrees = std::max(jump.degrees, std::fabs(shorterWayRound(d)));
    }
}

std::string threeDecimals(long double value) {
    return formatPattern(value, "###0.000");
}

std::string framesText(std::int64_t frames) {
    return std::to_string(frames) + (frames == 1 ? " frame" : " frames");
}

// Why the object does not arrive: Steps against the frames to the next entry.
std::string causeOf(const PlaybackJump& jump) {
    const std::string steps = "Steps " + std::to_string(jump.steps);
    const std::string frames = framesText(jump.distance);
    if (jump.steps < jump.distance)
        return steps + " is shorter than the " + frames + " to the next entry.";
    if (jump.steps > jump.distance)
        return steps + " is longer than the " + frames + " to the next entry.";
    return steps + " spans the " + frames +
           " to the next entry, but the changes, rounded to 32 bits and six decimals, do not land "
           "on it.";
}

} // namespace

PlayedEntry playedEntry(const EntryTable& table, int count, int entry) {
    const KeyValues values = keyValues(table, entry);
    // The last entry neither moves nor turns.
    KeyMotion motion;
    if (entry + 1 < count)
        motion =
            keyMotion(values, keyValues(table, entry + 1), parseInt(table.cell(ColSteps, entry)));
    return asPlayed(frameOf(table, entry), readBack(values), motion);
}

KeyValues playedAfter(const PlayedEntry& entry, std::int64_t elapsed) {
    const auto frames = static_cast<float>(elapsed);
    KeyValues values = entry.values;
    for (int i = 0; i < kValueCount; ++i) {
        const int flag = i < kFirstAngle ? kKeyMoves : kKeyTurns;
        if (entry.flags & flag)
            values[i] = moved(entry.values[i], entry.changes[i], frames);
    }
    return values;
}

PlayedFrame playedFrame(const EntryTable& table, int count, std::int64_t frame) {
    int k = 0;
    while (k + 1 < count && frame >= frameOf(table, k + 1))
        ++k;
    const PlayedEntry entry = playedEntry(table, count, k);
    return {k, playedAfter(entry, frame - entry.frame)};
}

std::vector<PlaybackJump> nodeJumps(const EntryTable& table, int count, int node) {
    std::vector<PlaybackJump> jumps;
    if (count < 2)
        return jumps;
    // Every cell is read naming itself, so a fault points at the very cell that holds it.
    const auto frameAt = [&](int k) {
        return atCell(node, k, ColFrame, [&] { return frameOf(table, k); });
    };
    const auto valuesAt = [&](int k) {
        KeyValues values{};
        for (int i = 0; i < kValueCount; ++i)
            values[i] =
                atCell(node, k, ColX + i, [&] { return parseSingle(table.cell(ColX + i, k)); });
        return values;
    };
    // Each entry is read once, as the start of one pair and the end of the one before.
    KeyValues values = valuesAt(0);
    KeyValues read = readBack(values);
    std::int32_t frame = frameAt(0);
    for (int k = 0; k + 1 < count; ++k) {
        const KeyValues next = valuesAt(k + 1);
        const KeyValues nextRead = readBack(next);
        const std::int32_t nextFrame = frameAt(k + 1);
        const std::int32_t steps =
            atCell(node, k, ColSteps, [&] { return parseInt(table.cell(ColSteps, k)); });
        const std::int64_t distance = static_cast<std::int64_t>(nextFrame) - frame;
        if (distance > 0) {
            // The change per frame comes from two entries' values: its fault names the pair.
            const KeyMotion motion =
                atEntry(node, k, [&] { return keyMotion(values, next, steps); });
            const PlayedEntry from = asPlayed(frame, read, motion);
            PlaybackJump jump{node, k, nextFrame, steps, distance};
            measureMiss(playedAfter(from, distance), nextRead, jump);
            if (jump.jku > kJumpJku || jump.degrees > kJumpDegrees)
                jumps.push_back(jump);
        }
        values = next;
        read = nextRead;
        frame = nextFrame;
    }
    return jumps;
}

std::vector<PlaybackJump> documentJumps(const TKeyDocument& document) {
    std::vector<PlaybackJump> jumps;
    for (int k = 0; k < static_cast<int>(document.Nodes.size()); ++k) {
        const TNode& node = document.Nodes[k];
        const std::vector<PlaybackJump> found = nodeJumps(node.Data, node.Entries, k);
        jumps.insert(jumps.end(), found.begin(), found.end());
    }
    return jumps;
}

std::string jumpMessage(const PlaybackJump& jump) {
    std::string amount;
    if (jump.jku > kJumpJku)
        amount = threeDecimals(jump.jku) + " JKU";
    if (jump.degrees > kJumpDegrees)
        amount += (amount.empty() ? "" : " and ") + threeDecimals(jump.degrees) + " degrees";
    return "Node " + std::to_string(jump.node) + ", entries " + std::to_string(jump.entry) +
           " to " + std::to_string(jump.entry + 1) + ": the object jumps " + amount + " at frame " +
           std::to_string(jump.frame) + "; " + causeOf(jump);
}

std::string checkPlaybackMessage(const std::vector<PlaybackJump>& jumps) {
    if (jumps.empty())
        return kNoJumps;
    std::string text;
    for (const PlaybackJump& jump : jumps) {
        if (!text.empty())
            text += '\n';
        text += jumpMessage(jump);
    }
    return text;
}

} // namespace skyvane
