// Retime's arithmetic: a range of entries stretched or squeezed in time, as plain functions over
// the entry table.
#pragma once

#include <cstdint>
#include <vector>

#include "core/document.h"

namespace skyvane {

inline constexpr const char* kRetimeTooFewEntries = "Select at least two entries to retime!";
inline constexpr const char* kRetimeTooShort =
    "The new duration is too short to keep the Frames rising!";
inline constexpr const char* kRetimeTooLong = "The new Frames would be too large!";

struct Retiming {
    std::vector<CellEdit> edits;
    const char* refusal = nullptr; // one of the messages above; then there are no edits
};

// The Frames of the range's entries (first..last up to the node's last entry) from the range's
// first Frame on, rescaled to span `duration` frames, rounded to integers and nudged to rise
// strictly; Steps of all but the range's last entry become the new distances; every later entry
// holding a Frame moves by the change of length. Positions and angles stay. The range must pass
// the entry check; a Frame or Steps that is no integer raises ConversionError.
Retiming retime(const EntryTable& table, int first, int last, std::int64_t duration);

// The duration a factor gives a range (its length times the factor, rounded, and no more than
// one frame beyond the largest Frame). A range of fewer than two entries has length 0.
std::int64_t rangeDuration(const EntryTable& table, int first, int last);
std::int64_t scaledDuration(const EntryTable& table, int first, int last, long double factor);

} // namespace skyvane
