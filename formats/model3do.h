// The geometry of a 3DO model: the meshes of its most detailed geometry set and the hierarchy
// of nodes that places them.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "formats/geometry.h"
#include "formats/readresult.h"

namespace skyvane {

struct Mesh3do {
    std::string name;
    std::vector<Vec3f> vertices; // in the mesh's own frame
    std::vector<Polygon> faces;  // each face's corners as indices into `vertices`
    std::vector<Edge> edges;     // every side of every face once
};

// A node puts one mesh (or none) into its parent's frame: a vertex v of the mesh lands at
// R(rotation) (v + pivot) + position - (the parent's pivot), R turning by roll about Y, then
// pitch about X, then yaw about Z.
struct HierarchyNode {
    std::string name;
    int mesh = -1;   // index into Model3do::meshes, -1 for none
    int parent = -1; // index into Model3do::nodes, -1 for the root
    Vec3f position;
    Vec3f rotation; // pitch, yaw, roll in degrees
    Vec3f pivot;
};

struct Model3do {
    // Geometry set 0; the further sets are lower levels of detail of the same meshes.
    std::vector<Mesh3do> meshes;
    // Every parent chain ends at a root.
    std::vector<HierarchyNode> nodes;
};

// Reads the model in the order the game reads it. Refuses (naming the line) a file that ends
// early, a missing keyword line, a number that is none, a face corner or a hierarchy mesh
// that does not exist, and a parent chain that runs in a circle.
ReadResult<Model3do> read3doModel(std::string_view text);
ReadResult<Model3do> read3doModelFile(const std::string& path);

// Get Mesh Names reads far less, and more forgivingly: it searches for the lines it needs and
// skips the rest. The mesh names in file order, or nothing when the text is not a valid 3DO
// model (no header, no "3DO" line, or it ends before GEOMETRYDEF, MESHES or an announced mesh).
// A MESHES count that is not an integer throws ConversionError.
std::optional<std::vector<std::string>> read3doMeshNames(std::string_view text);
// Reads the file first; throws FileError when it cannot be read.
std::optional<std::vector<std::string>> read3doMeshNamesFromFile(const std::string& path);

} // namespace skyvane
