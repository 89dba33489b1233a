// A level of 20,000 surfaces around the benchmarks' paths: boxes of six faces on a lattice of
// 15 x 15 x 15 places around the origin, none sharing a vertex, so every surface brings its own
// edges the way the rooms of a large level do (40,008 edges).
#pragma once

#include "formats/level.h"

namespace skyvane::bench {

inline constexpr int kLargeLevelSurfaces = 20000;

inline Level largeLevel() {
    constexpr int kSide = 15;
    constexpr float kSpacing = 2.0f;
    constexpr float kBox = 1.6f;
    const std::vector<Polygon> faces{{0, 3, 2, 1}, {4, 5, 6, 7}, {0, 1, 5, 4},
                                     {1, 2, 6, 5}, {2, 3, 7, 6}, {3, 0, 4, 7}};
    Level level;
    for (int i = 0; static_cast<int>(level.surfaces.size()) < kLargeLevelSurfaces; ++i) {
        const float x = (i % kSide - kSide / 2) * kSpacing;
        const float y = (i / kSide % kSide - kSide / 2) * kSpacing;
        const float z = (i / (kSide * kSide) - kSide / 2) * kSpacing;
        const int first = static_cast<int>(level.vertices.size());
        for (int corner = 0; corner < 8; ++corner)
            level.vertices.push_back({x + ((corner + 1) / 2 % 2) * kBox,
                                      y + (corner / 2 % 2) * kBox, z + (corner / 4) * kBox});
        for (const Polygon& face : faces) {
            if (static_cast<int>(level.surfaces.size()) == kLargeLevelSurfaces)
                break;
            Polygon surface;
            for (int corner : face)
                surface.push_back(first + corner);
            level.surfaces.push_back(surface);
        }
    }
    level.edges = uniqueEdges(level.surfaces);
    return level;
}

} // namespace skyvane::bench
