// Retime's arithmetic: Frames scaled at extended precision and rounded halves to even.
#include "tools/retimecalc.h"

#include <algorithm>
#include <limits>
#include <optional>
#include <string>

#include "core/numbers.h"

namespace skyvane {
namespace {

constexpr std::int64_t kLargestFrame = std::numeric_limits<std::int32_t>::max();
constexpr long double kBeyondLargest = kLargestFrame + 1.0L;

int lastOfRange(const EntryTable& table, int last) {
    return std::min(last, countEntries(table) - 1);
}

std::int64_t frameOf(const EntryTable& table, int entry) {
    return parseInt(table.cell(ColFrame, entry));
}

// The range's Frames spread over `duration` frames, each above the one before: rounded, then
// raised over the one before and lowered under the one after, the first and last held.
std::vector<std::int64_t> rescaledFrames(const EntryTable& table, int first, int last,
                                         std::int64_t duration) {
    const std::int64_t start = frameOf(table, first);
    const long double length = frameOf(table, last) - start;
    std::vector<std::int64_t> frames;
    for (int e = first; e <= last; ++e)
        frames.push_back(start + roundHalfEven(static_cast<long double>(frameOf(table, e) - start) *
                                               duration / length));
    frames.back() = start + duration;
    for (std::size_t i = 1; i + 1 < frames.size(); ++i)
        frames[i] = std::max(frames[i], frames[i - 1] + 1);
    for (std::size_t i = frames.size() - 1; i-- > 1;)
        frames[i] = std::min(frames[i], frames[i + 1] - 1);
    return frames;
}

void setIfChanged(const EntryTable& table, int column, int entry, std::int64_t value,
                  std::vector<CellEdit>& edits) {
    std::string text = std::to_string(value);
    if (table.cell(column, entry) != text)
        edits.push_back({column, entry, std::move(text)});
}

} // namespace

std::int64_t rangeDuration(const EntryTable& table, int first, int last) {
    const int end = lastOfRange(table, last);
    return end > first ? frameOf(table, end) - frameOf(table, first) : 0;
}

std::int64_t scaledDuration(const EntryTable& table, int first, int last, long double factor) {
    // Anything beyond the largest Frame is refused alike, however far beyond.
    return roundHalfEven(std::min(rangeDuration(table, first, last) * factor, kBeyondLargest));
}

Retiming retime(const EntryTable& table, int first, int last, std::int64_t duration) {
    const int end = lastOfRange(table, last);
    if (first < 0 || end <= first || rangeDuration(table, first, last) <= 0)
        return {{}, kRetimeTooFewEntries};
    if (duration < end - first)
        return {{}, kRetimeTooShort};
    if (duration > kLargestFrame)
        return {{}, kRetimeTooLong};
    const std::vector<std::int64_t> frames = rescaledFrames(table, first, end, duration);
    const std::int64_t shift = frames.back() - frameOf(table, end);
    Retiming result;
    for (int e = first; e <= end; ++e) {
        const std::size_t i = static_cast<std::size_t>(e - first);
        if (frames[i] > kLargestFrame)
            return {{}, kRetimeTooLong};
        setIfChanged(table, ColFrame, e, frames[i], result.edits);
        if (e < end)
            setIfChanged(table, ColSteps, e, frames[i + 1] - frames[i], result.edits);
    }
    for (int e = end + 1; e < kMaxEntries; ++e) {
        const std::optional<std::int32_t> frame = tryParseInt(table.cell(ColFrame, e));
        if (!frame)
            continue;
        if (*frame + shift > kLargestFrame)
            return {{}, kRetimeTooLong};
        setIfChanged(table, ColFrame, e, *frame + shift, result.edits);
    }
    return result;
}

} // namespace skyvane
