// The 3DO readers. The model reader walks the file in the game's order (header, materials,
// geometry sets, hierarchy), keeping the vertices and faces of geometry set 0 and the hierarchy,
// and checks every index it keeps so that drawing never needs to. The mesh-name reader of Get
// Mesh Names only searches for the names; both cut lines with the same tokenizer.
#include "formats/model3do.h"

#include <cmath>
#include <optional>

#include "core/fileio.h"
#include "core/linetokens.h"
#include "core/numbers.h"
#include "core/values.h"
#include "formats/gametext.h"

namespace skyvane {

namespace {

// Vertex and face lines carry a light value per vertex or face: one intensity in version 2.1
// (Jedi Knight), a colour of three or four components in 2.2 and 2.3.
constexpr std::size_t kVertexFields = 4; // index, x, y, z, then the light value
constexpr std::size_t kTextureVertexFields = 3;
constexpr std::size_t kNormalFields = 4;
// Index, material, type, geometry, lighting and texture mode, then the light value, the corner
// count and the corners.
constexpr std::size_t kFaceLightField = 6;
// Index, flags, type, mesh, parent, child, sibling, child count, x, y, z, pitch, yaw, roll,
// pivot x, y, z, name.
constexpr std::size_t kNodeFields = 18;
constexpr std::size_t kNodeMeshField = 3;
constexpr std::size_t kNodeParentField = 4;
constexpr std::size_t kNodePositionField = 8;
constexpr std::size_t kNodeRotationField = 11;
constexpr std::size_t kNodePivotField = 14;
constexpr std::size_t kNodeNameField = 17;

std::string numbered(std::string_view what, int k) {
    return std::string(what) + " " + std::to_string(k);
}

class ModelReader {
public:
    explicit ModelReader(std::string_view text) : lines_(text) {}

    Model3do read() {
        readHeader();
        Model3do model;
        lines_.expect({"GEOSETS"}, 2);
        const int geosets = lines_.count(1);
        for (int g = 0; g < geosets; ++g) {
            std::vector<Mesh3do> meshes = readGeoset();
            if (g == 0)
                model.meshes = std::move(meshes);
        }
        model.nodes = readHierarchy(static_cast<int>(model.meshes.size()));
        return model;
    }

private:
    // Only the lines' presence matters up to the geometry sets; their values are not drawn.
    void readHeader() {
        lines_.expect({"SECTION:"}, 2);
        lines_.expect({"3DO"}, 1);
        lightFields_ = lightFieldsOfVersion();
        lines_.expect({"SECTION:"}, 2);
        lines_.expect({"MATERIALS"}, 2);
        const int materials = lines_.count(1);
        for (int m = 0; m < materials; ++m)
            lines_.expectItem(2, numbered("material", m));
        lines_.expect({"SECTION:"}, 2);
        lines_.expect({"RADIUS"}, 2);
        lines_.expect({"INSERT", "OFFSET"}, 5);
    }

    std::vector<Mesh3do> readGeoset() {
        lines_.expect({"GEOSET"}, 2);
        lines_.expect({"MESHES"}, 2);
        const int count = lines_.count(1);
        std::vector<Mesh3do> meshes;
        for (int k = 0; k < count; ++k)
            meshes.push_back(readMesh(k));
        return meshes;
    }

    Mesh3do readMesh(int k) {
        const std::string meshName = numbered("mesh", k);
        Mesh3do mesh;
        lines_.expect({"MESH"}, 2);
        lines_.expect({"NAME"}, 2);
        mesh.name = std::string(lines_.fields()[1]);
        for (std::string_view mode : {"RADIUS", "GEOMETRYMODE", "LIGHTINGMODE", "TEXTUREMODE"})
            lines_.expect({mode}, 2);
        lines_.expect({"VERTICES"}, 2);
        const int vertices = lines_.count(1);
        for (int v = 0; v < vertices; ++v) {
            lines_.expectItem(kVertexFields + lightFields_,
                              numbered("vertex", v) + " of " + meshName);
            mesh.vertices.push_back(lines_.point(1));
        }
        lines_.expect({"TEXTURE", "VERTICES"}, 3);
        skipItems(lines_.count(2), kTextureVertexFields, "texture vertex", meshName);
        lines_.next("the vertex normals of " + meshName); // a heading the game does not look at
        skipItems(vertices, kNormalFields, "vertex normal", meshName);
        lines_.expect({"FACES"}, 2);
        const int faces = lines_.count(1);
        for (int f = 0; f < faces; ++f)
            mesh.faces.push_back(readFace(numbered("face", f) + " of " + meshName, vertices));
        lines_.next("the face normals of " + meshName);
        skipItems(faces, kNormalFields, "face normal", meshName);
        mesh.edges = uniqueEdges(mesh.faces);
        return mesh;
    }

    void skipItems(int count, std::size_t fieldCount, std::string_view what,
                   const std::string& meshName) {
        for (int i = 0; i < count; ++i)
            lines_.expectItem(fieldCount, numbered(what, i) + " of " + meshName);
    }

    // The game reads any version it finds and takes 2.1's layout for all but 2.2 and 2.3.
    std::size_t lightFieldsOfVersion() const {
        const auto& fields = lines_.fields();
        const auto version =
            fields.size() > 1 ? tryParseFloat(fields[1], kFileSeparator) : std::nullopt;
        const auto is = [&](long double wanted) {
            return version && std::fabs(*version - wanted) < 1e-6L;
        };
        return is(2.2L) ? 3 : is(2.3L) ? 4 : 1;
    }

    // A face lists its corners as pairs of vertex and texture vertex.
    Polygon readFace(const std::string& what, int vertexCount) {
        const std::size_t countField = kFaceLightField + lightFields_;
        lines_.expectItem(countField + 1, what);
        return lines_.polygon(countField, 1, vertexCount, what);
    }

    std::vector<HierarchyNode> readHierarchy(int meshCount) {
        lines_.expect({"SECTION:"}, 2);
        lines_.expect({"HIERARCHY", "NODES"}, 3);
        const int count = lines_.count(2);
        std::vector<HierarchyNode> nodes;
        std::vector<std::size_t> lineOfNode;
        for (int n = 0; n < count; ++n) {
            const std::string what = numbered("hierarchy node", n);
            lines_.expectItem(kNodeFields, what);
            lineOfNode.push_back(lines_.lineNumber());
            HierarchyNode node;
            node.mesh = lines_.integer(kNodeMeshField);
            if (node.mesh < -1 || node.mesh >= meshCount)
                lines_.fail(what + " shows mesh " + std::to_string(node.mesh) + " of " +
                            std::to_string(meshCount));
            node.parent = lines_.integer(kNodeParentField);
            if (node.parent < -1 || node.parent >= count)
                lines_.fail(what + " has parent " + std::to_string(node.parent) + " of " +
                            std::to_string(count) + " nodes");
            node.position = lines_.point(kNodePositionField);
            node.rotation = lines_.point(kNodeRotationField);
            node.pivot = lines_.point(kNodePivotField);
            node.name = std::string(lines_.fields()[kNodeNameField]);
            nodes.push_back(std::move(node));
        }
        checkParentChains(nodes, lineOfNode);
        return nodes;
    }

    // Every chain of parents must end at a root. Each node is walked once: a walk stops at a
    // node already known to reach a root, and meeting its own path again is a circle.
    void checkParentChains(const std::vector<HierarchyNode>& nodes,
                           const std::vector<std::size_t>& lineOfNode) const {
        enum class Mark { Unknown, OnPath, ReachesRoot };
        std::vector<Mark> marks(nodes.size(), Mark::Unknown);
        std::vector<int> path;
        for (std::size_t n = 0; n < nodes.size(); ++n) {
            path.clear();
            for (int at = static_cast<int>(n); at != -1 && marks[at] != Mark::ReachesRoot;
                 at = nodes[static_cast<std::size_t>(at)].parent) {
                if (marks[at] == Mark::OnPath)
                    lines_.failAtLine(lineOfNode[n], "the parents of hierarchy node " +
                                                         std::to_string(n) + " run in a circle");
                marks[at] = Mark::OnPath;
                path.push_back(at);
            }
            for (int on : path)
                marks[on] = Mark::ReachesRoot;
        }
    }

    GameText lines_;
    std::size_t lightFields_ = 1;
};

} // namespace

ReadResult<Model3do> read3doModel(std::string_view text) {
    return readAllOrNothing<Model3do>([&] { return ModelReader(text).read(); });
}

ReadResult<Model3do> read3doModelFile(const std::string& path) {
    return readAllOrNothing<Model3do>([&] {
        const std::string text = readFileBytes(path);
        return ModelReader(text).read();
    });
}

// The same lines as the model reader's, found by their field counts; comments are not cut.
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
