// What every reader of the game's files returns: the whole result, or nothing and the reason.
#pragma once

#include <string>
#include <utility>

#include "core/fileio.h"
#include "formats/gametext.h"

namespace skyvane {

template <typename T> struct ReadResult {
    bool ok = false;
    T value;            // meaningful only when ok
    std::string reason; // when not ok: why, naming the line or the byte where reading stopped
};

// Runs a reader that throws FormatError (or FileError) and turns the outcome into a result, so
// a refused file never hands out half of what it held.
template <typename T, typename Read> ReadResult<T> readAllOrNothing(Read&& read) {
    ReadResult<T> result;
    try {
        result.value = read();
        result.ok = true;
    } catch (const FormatError& e) {
        result.reason = e.what();
    } catch (const FileError& e) {
        result.reason = e.what();
    }
    return result;
}

} // namespace skyvane
