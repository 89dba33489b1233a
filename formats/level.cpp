// The level reader: finds the georesource section wherever it stands, as the game does, and
// reads it line by line from there.
#include "formats/level.h"

namespace skyvane {

namespace {

constexpr std::size_t kColormapFields = 2;      // index, file
constexpr std::size_t kVertexFields = 4;        // index, x, y, z
constexpr std::size_t kTextureVertexFields = 3; // index, u, v
constexpr std::size_t kAdjoinFields = 4;        // index, flags, mirror, distance
// Index, material, surface flags, face flags, geometry, lighting and texture mode, adjoin,
// extra light, corner count, then a vertex and a texture vertex per corner.
constexpr std::size_t kSurfaceCornerCountField = 9;
// The game draws nothing with fewer corners and refuses such a level.
constexpr int kSurfaceMinCorners = 3;

class LevelReader {
public:
    explicit LevelReader(std::string_view text) : lines_(text) {}

    Level read() {
        if (!lines_.find({"SECTION:", "GEORESOURCE"}))
            lines_.fail("the file ends without a \"SECTION: GEORESOURCE\" line");
        Level level;
        skipList({"World", "colormaps"}, kColormapFields, "colormap");
        lines_.expect({"World", "vertices"}, 3);
        const int vertices = lines_.count(2);
        for (int v = 0; v < vertices; ++v) {
            lines_.expectItem(kVertexFields, "vertex " + std::to_string(v));
            level.vertices.push_back(lines_.point(1));
        }
        skipList({"World", "texture", "vertices"}, kTextureVertexFields, "texture vertex");
        skipList({"World", "adjoins"}, kAdjoinFields, "adjoin");
        lines_.expect({"World", "surfaces"}, 3);
        const int surfaces = lines_.count(2);
        for (int s = 0; s < surfaces; ++s)
            level.surfaces.push_back(readSurface(s, vertices));
        level.edges = uniqueEdges(level.surfaces);
        return level;
    }

private:
    // A counted list the drawing does not need; its lines must still be there.
    void skipList(std::initializer_list<std::string_view> keywords, std::size_t fieldCount,
                  const std::string& what) {
        lines_.expect(keywords, keywords.size() + 1);
        const int count = lines_.count(keywords.size());
        for (int i = 0; i < count; ++i)
            lines_.expectItem(fieldCount, what + " " + std::to_string(i));
    }

    Polygon readSurface(int s, int vertexCount) {
        const std::string what = "surface " + std::to_string(s);
        lines_.expectItem(kSurfaceCornerCountField + 1, what);
        return lines_.polygon(kSurfaceCornerCountField, kSurfaceMinCorners, vertexCount, what);
    }

    GameText lines_;
};

} // namespace

ReadResult<Level> readLevel(std::string_view text) {
    return readAllOrNothing<Level>([&] { return LevelReader(text).read(); });
}

} // namespace skyvane
