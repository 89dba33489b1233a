// The geometry of a level (JKL): its world vertices and the surfaces between them.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "formats/geometry.h"
#include "formats/readresult.h"

namespace skyvane {

struct Level {
    std::vector<Vec3f> vertices;   // world coordinates in game units
    std::vector<Polygon> surfaces; // each surface's corners as indices into `vertices`
    std::vector<Edge> edges;       // every side of every surface once
};

// Reads the georesource section in the order the game reads it (colormaps, vertices, texture
// vertices, adjoins, surfaces); the rest of the level is not looked at. Refuses (naming the
// line) a level without that section, one that ends early, a number that is none and a
// surface corner that does not exist.
ReadResult<Level> readLevel(std::string_view text);

} // namespace skyvane
