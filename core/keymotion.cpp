// The per-frame changes and flags of a KEY entry, computed once for the writer and the playback.
#include "core/keymotion.h"

namespace skyvane {

KeyValues keyValues(const EntryTable& table, int entry) {
    KeyValues values{};
    for (int i = 0; i < kValueCount; ++i)
        values[i] = parseSingle(table.cell(kValueColumns[i], entry));
    return values;
}

// Differences stay extended; only the quotient is stored as 32 bits.
KeyMotion keyMotion(const KeyValues& from, const KeyValues& to, std::int32_t steps) {
    KeyMotion motion;
    for (int i = 0; i < kValueCount; ++i) {
        long double difference = static_cast<long double>(to[i]) - from[i];
        if (isAngleValue(i)) {
            if (difference < -180)
                difference += 360;
            else if (difference > 180)
                difference -= 360;
        }
        motion.changes[i] = toSingle(divide(difference, steps));
    }
    const auto anyNonZero = [&](int first) {
        return motion.changes[first] != 0 || motion.changes[first + 1] != 0 ||
               motion.changes[first + 2] != 0;
    };
    motion.flags = (anyNonZero(0) ? kKeyMoves : 0) + (anyNonZero(kFirstAngle) ? kKeyTurns : 0);
    return motion;
}

float asReadFromKeyFile(float value) {
    return toSingle(roundToDecimals(value, kKeyDecimals));
}

} // namespace skyvane
