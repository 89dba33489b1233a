// Any bytes given to the level reader: surfaces of three corners or more and edges that only
// use vertices that exist, each edge once, or a reason naming the line.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzzcheck.h"
#include "formats/level.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace skyvane::fuzz;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto result = skyvane::readLevel(text);
    checkVerdict(result, "line ");
    const auto& level = result.value;
    checkGeometry(level.surfaces, level.edges, level.vertices.size());
    for (const auto& surface : level.surfaces)
        check(surface.size() >= 3);
    return 0;
}
