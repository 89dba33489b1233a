// The 3DO mesh-name reader: only the names the geometry section announces are read; nothing
// else of the model is kept.
#include "core/mesh3do.h"

#include "core/fileio.h"
#include "core/linetokens.h"
#include "core/numbers.h"

namespace skyvane {

std::optional<std::vector<std::string>> read3doMeshNames(std::string_view text) {
    LineSearch lines(text);
    if (!lines.find(2, {"SECTION:", "HEADER"}, true) || !lines.find(2, {"3DO"}, true))
        return std::nullopt;
    if (!lines.find(2, {"SECTION:", "GEOMETRYDEF"}) || !lines.find(2, {"MESHES"}))
        return std::nullopt;
    const std::int32_t count = parseInt(lines.fields()[1]);
    // The list grows with what the file holds, never with the count it announces.
    std::vector<std::string> names;
    for (std::int32_t k = 0; k < count; ++k) {
        if (!lines.find(2, {"MESH", std::to_string(k)}) || !lines.find(2, {"NAME"}))
            return std::nullopt;
        names.emplace_back(lines.fields()[1]);
    }
    return names;
}

std::optional<std::vector<std::string>> read3doMeshNamesFromFile(const std::string& path) {
    return read3doMeshNames(readFileBytes(path));
}

} // namespace skyvane
