// Any bytes given to the 3DO model reader: a model whose every kept index points at something
// that exists, or a reason naming the line.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzzcheck.h"
#include "formats/model3do.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace skyvane::fuzz;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto result = skyvane::read3doModel(text);
    checkVerdict(result, "line ");
    const auto& model = result.value;
    for (const auto& mesh : model.meshes)
        checkGeometry(mesh.faces, mesh.edges, mesh.vertices.size());
    for (const auto& node : model.nodes) {
        check(node.mesh >= -1 && node.mesh < static_cast<int>(model.meshes.size()));
        check(node.parent >= -1 && node.parent < static_cast<int>(model.nodes.size()));
    }
    return 0;
}
