// Points and polygon edges shared by the model and level readers and the preview's drawing.
#pragma once

#include <vector>

namespace skyvane {

struct Vec3f {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
};

// A polygon as the indices of its corners in a vertex list, in the file's order.
using Polygon = std::vector<int>;

// One side of a polygon: two vertex indices, the smaller first.
struct Edge {
    int from = 0;
    int to = 0;
    bool operator==(const Edge& other) const { return from == other.from && to == other.to; }
    bool operator<(const Edge& other) const {
        return from != other.from ? from < other.from : to < other.to;
    }
};

// Every side of every polygon exactly once, sorted: neighbouring polygons share their common
// side, and a side whose two corners are the same vertex is no side at all.
std::vector<Edge> uniqueEdges(const std::vector<Polygon>& polygons);

} // namespace skyvane
