// What the harnesses check: a failed check stops the fuzzer with the input that broke it.
#pragma once

#include <string_view>
#include <vector>

#include "formats/geometry.h"

namespace skyvane::fuzz {

inline void check(bool condition) {
    if (!condition)
        __builtin_trap();
}

// A reader's verdict: a value and no reason, or a reason that begins by naming where the
// reader stopped ("line " or "byte ").
template <typename Result> void checkVerdict(const Result& result, std::string_view where) {
    check(result.ok == result.reason.empty());
    check(result.ok || result.reason.rfind(where, 0) == 0);
}

// Every corner of every polygon, and both ends of every edge, are vertices that exist; the
// edges are sorted without repeats.
inline void checkGeometry(const std::vector<Polygon>& polygons, const std::vector<Edge>& edges,
                          std::size_t vertexCount) {
    const auto count = static_cast<int>(vertexCount);
    for (const Polygon& polygon : polygons)
        for (int corner : polygon)
            check(corner >= 0 && corner < count);
    for (std::size_t i = 0; i < edges.size(); ++i) {
        check(edges[i].from >= 0 && edges[i].from < edges[i].to && edges[i].to < count);
        check(i == 0 || edges[i - 1] < edges[i]);
    }
}

} // namespace skyvane::fuzz
