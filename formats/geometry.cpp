// Polygon edges: collected from every polygon, then sorted and made unique, which costs
// n log n in the number of sides however the polygons share them.
#include "formats/geometry.h"

#include <algorithm>
#include <utility>

namespace skyvane {

std::vector<Edge> uniqueEdges(const std::vector<Polygon>& polygons) {
    std::vector<Edge> edges;
    for (const Polygon& polygon : polygons) {
        for (std::size_t i = 0; i < polygon.size(); ++i) {
            int a = polygon[i];
            int b = polygon[(i + 1) % polygon.size()];
            if (a == b)
                continue;
            if (b < a)
                std::swap(a, b);
            edges.push_back({a, b});
        }
    }
    std::sort(edges.begin(), edges.end());
    edges.erase(std::unique(edges.begin(), edges.end()), edges.end());
    return edges;
}

} // namespace skyvane
