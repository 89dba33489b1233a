// What a KEY file carries for each entry besides its values: the change per frame towards the
// next entry and the flags saying whether the entry moves and turns. The writer formats them and
// the playback plays them, so both take them from here.
#pragma once

#include <array>
#include <cstdint>
#include <exception>
#include <string>

#include "core/document.h"
#include "core/numbers.h"
#include "core/values.h"

namespace skyvane {

using KeyValues = std::array<float, kValueCount>;

// Values and changes are written with six decimals.
inline constexpr const char* kKeyValuePattern = "####0.000000";
inline constexpr int kKeyDecimals = 6;

inline constexpr int kKeyMoves = 1; // flag: a position changes
inline constexpr int kKeyTurns = 2; // flag: an angle changes

// An entry's six value cells as 32-bit floats. Throws ConversionError or MathError.
KeyValues keyValues(const EntryTable& table, int entry);

struct KeyMotion {
    KeyValues changes{}; // per frame, 32-bit
    int flags = 0;       // kKeyMoves | kKeyTurns
};

// The change per frame from one entry towards the next over `steps` frames: positions straight,
// angles the shorter way round (exactly +/-180 stays). The flags are tested on the 32-bit
// changes, so a change too small for six decimals still counts. Throws MathError for steps 0.
KeyMotion keyMotion(const KeyValues& from, const KeyValues& to, std::int32_t steps);

// The 32-bit value the game holds after reading `value` from the file, where the writer puts it
// with six decimals.
float asReadFromKeyFile(float value);

// Runs `work`, putting `place()` before the text of a conversion or arithmetic fault.
template <typename Place, typename Work> auto namingFaults(Place&& place, Work&& work) {
    try {
        return work();
    } catch (const ConversionError& e) {
        throw ConversionError(place() + ": " + e.what());
    } catch (const MathError& e) {
        throw MathError(place() + ": " + e.what());
    }
}

// Runs `work` for one entry of one node, naming them in a conversion or arithmetic fault so the
// user can find the cell in a node that was never shown.
template <typename Work> auto atEntry(int node, int entry, Work&& work) {
    return namingFaults(
        [&] { return "node " + std::to_string(node) + " entry " + std::to_string(entry); }, work);
}

// Runs `work` reading one cell, naming node, entry and column in a fault:
// "node 1 entry 2, X pos: 'abc' is not a valid floating point value".
template <typename Work> auto atCell(int node, int entry, int column, Work&& work) {
    return namingFaults(
        [&] {
            return "node " + std::to_string(node) + " entry " + std::to_string(entry) + ", " +
                   kColumnHeaders[static_cast<std::size_t>(column)];
        },
        work);
}

} // namespace skyvane
