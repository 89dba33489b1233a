// The preview's picture without any toolkit: the orbiting camera and its keyboard moves, the
// projection of world points to pixels, the mouse moves, and the drawing of grid, level,
// object, entries, heading and the played object into a plain RGB bitmap with the pixel rules
// of classic GDI (1-pixel lines, no antialiasing).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/document.h"
#include "formats/geometry.h"
#include "formats/level.h"
#include "preview/wireframe.h"

namespace skyvane {

struct Vec2f {
    float x = 0.0f;
    float y = 0.0f;
};

// The camera orbits Focus at Distance; Heading, Position, Side and Up always follow from the
// two angles, Focus and Distance (see deriveFields). Angles are in radians.
struct Camera {
    std::int32_t Distance = 50;
    float MoveStep = 1.0f;
    Vec3f Focus;
    Vec3f Position;
    float Azimuth = 4.712389f;     // 270 degrees: the camera stands on the -Y side
    float Elevation = 0.15707964f; // 9 degrees above the ground
    Vec3f Heading;                 // unit vector from the eye towards Focus
    Vec2f Side;                    // horizontal, towards the right of the picture
    Vec3f Up;                      // towards the top of the picture
    float Zoom = 1.0f;
};

// Recomputes Heading, Position, Side and Up from Azimuth, Elevation, Focus and Distance.
void deriveFields(Camera& camera);
// The camera the window starts with.
Camera startCamera();

// The keys the preview knows, whatever the toolkit calls them.
enum class NavKey { Up, Down, Left, Right, ZoomIn, ZoomOut };

struct KeyModifiers {
    bool shift = false;
    bool ctrl = false;
    bool alt = false;
};

// The read-outs a key changed; none means the key did nothing and nothing is redrawn.
enum ReadOut : unsigned {
    ReadOutNone = 0,
    ReadOutX = 1u << 0,
    ReadOutY = 1u << 1,
    ReadOutZ = 1u << 2,
    ReadOutU = 1u << 3,
    ReadOutV = 1u << 4,
    ReadOutW = 1u << 5,
    ReadOutZoom = 1u << 6,
    ReadOutAll = (1u << 7) - 1,
};

// Arrows pan, Shift+arrows orbit, zoom keys walk the zoom ladder. Returns the read-outs changed.
unsigned navigate(Camera& camera, NavKey key, KeyModifiers modifiers);

// The zoom ladder 0.1, 0.2 .. 0.9, 1, 2 .. 10: the next value up or down, clamped at the ends.
// Above 10, where only framing goes, the closer rungs 20, 50 .. 1000 are walked the same way and
// zooming out comes back to 10.
float zoomIn(float zoom);
float zoomOut(float zoom);

struct Pixel {
    int x = 0;
    int y = 0;
    bool operator==(const Pixel& other) const { return x == other.x && y == other.y; }
};

// The centre of a W x H picture: half of each, halves rounded to even (440 x 439 gives 220, 220).
Pixel pictureCentre(int width, int height);

// Mouse moves in the picture. The changed read-outs are returned as by navigate.
// Dragging orbits by 0.5 degree per pixel, the scene turning with the mouse (right lowers the
// Azimuth, down raises the Elevation), with the wraps of the keys.
unsigned orbitByDrag(Camera& camera, int dx, int dy);
// Dragging pans in the picture's plane: a point at the focus distance that was under `from`
// ends under `to`. Pixels are of a picture centred on `centre`.
unsigned panByDrag(Camera& camera, Pixel centre, Pixel from, Pixel to);
// One step of the zoom ladder per wheel notch, positive notches zooming in.
unsigned zoomByWheel(Camera& camera, int notches);
// Back to the start camera; every read-out changes.
unsigned resetCamera(Camera& camera);

// Every rung of the zoom ladder, from 0.1 up: the keys' 0.1 .. 10 and the closer rungs above.
std::vector<float> zoomLadder();

// Pixels kept clear at each edge of the picture when points are framed.
inline constexpr int kFrameMargin = 20;

// Turned as it is, the camera is put back along its heading from the middle of the points, far
// enough that all lie in front of the eye, and given the closest zoom rung at which every point
// lands inside a width x height picture with kFrameMargin pixels to spare at each edge (further
// back where even the farthest rung does not fit). Nothing changes, and none is returned,
// without points, in a picture with no room inside the margins, or where the eye would leave
// the 32-bit range.
unsigned frameAll(Camera& camera, const std::vector<Vec3f>& points, int width, int height);

// The position of an entry, or none where a cell does not hold a number.
std::optional<Vec3f> entryPosition(const EntryTable& table, int entry);

// The pixel of a world point: offsets from the centre proportional to the horizontal and
// vertical angle of the point seen from the eye, so never more than 2000 x Zoom pixels.
// Nothing is culled: a point behind the eye lands mirrored through the centre. A point in the
// plane of the eye (zero depth) or beyond the 32-bit range has no pixel.
std::optional<Pixel> ProjectPoint(int cx, int cy, const Camera& camera, Vec3f point);

struct Rgb {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;
    bool operator==(const Rgb& other) const { return r == other.r && g == other.g && b == other.b; }
    bool operator!=(const Rgb& other) const { return !(*this == other); }
};

inline constexpr Rgb kBlack{0, 0, 0};
inline constexpr Rgb kNavy{0, 0, 128};
inline constexpr Rgb kGreen{0, 128, 0};
inline constexpr Rgb kRed{255, 0, 0};
inline constexpr Rgb kDarkCyan{0, 128, 128};
inline constexpr Rgb kLightGrey{192, 192, 192};
inline constexpr Rgb kYellow{255, 255, 0};
inline constexpr Rgb kMagenta{255, 0, 255};
inline constexpr Rgb kDimGreen{0, 64, 0};
inline constexpr Rgb kDimYellow{128, 128, 0};

// A W x H bitmap of tightly packed RGB bytes, row by row, with the few drawing operations of a
// GDI device context. Pixels outside the bitmap are silently left out.
class Bitmap {
public:
    Bitmap(int width, int height);

    int width() const { return width_; }
    int height() const { return height_; }
    Rgb pixel(int x, int y) const;
    const std::uint8_t* scanLine(int y) const;

    void fill(Rgb colour);
    void setPen(Rgb colour) { pen_ = colour; }
    void setBrush(Rgb colour) { brush_ = colour; }
    void moveTo(Pixel to) { current_ = to; }
    // A 1-pixel pen line from the current position: its first pixel drawn, its last not.
    void lineTo(Pixel to);
    // Outlined with the pen, filled with the brush; right and bottom edges exclusive.
    void rectangle(Pixel topLeft, Pixel bottomRight);

private:
    void setPixel(long long x, long long y, Rgb colour);

    int width_;
    int height_;
    std::vector<std::uint8_t> bytes_;
    Rgb pen_ = kBlack;
    Rgb brush_ = kBlack;
    Pixel current_;
};

// What the drawing reads of the document: entries 0 .. count - 1 and the highlighted one.
struct SceneEntries {
    const EntryTable& table;
    int count = 0;
    int highlighted = 0;
};

// What the picture may show around the path: a level and the object, each as a wireframe.
struct SceneWorld {
    SceneWorld() = default;
    SceneWorld(const Level* shownLevel, std::vector<WireMesh> shownObject)
        : level(shownLevel), object(std::move(shownObject)) {}

    const Level* level = nullptr;
    std::vector<WireMesh> object; // posed for the frame shown
    // With all nodes shown: the other nodes' entries, and where they play at the frame shown.
    std::vector<std::vector<Vec3f>> otherPaths;
    std::vector<NodePose> otherPlayed;
};

// What the game shows at one frame, drawn over the picture while the path plays.
struct ScenePlayback {
    Vec3f position;         // of the played object
    float pitch = 0.0f;     // degrees
    float yaw = 0.0f;       // degrees
    float roll = 0.0f;      // degrees
    std::vector<int> jumps; // entries whose way to the next entry ends in a jump
};

// The frames played, first and last included.
struct PlayRange {
    std::int64_t first = 0;
    std::int64_t last = 0;
};

// Where playback stands after `elapsed` seconds of real time from `startFrame`, at `fps` frames
// per second over the range: a loop starts again from its first frame, otherwise its last frame
// ends the playback.
struct PlaybackStep {
    std::int64_t frame = 0;
    bool ended = false;
};
PlaybackStep advancePlayback(std::int64_t startFrame, long double elapsed, float fps,
                             PlayRange range, bool loop);

// The frame number and its time at the frame rate: "Frame 12   0.800 s".
// With markers, the names of those that play reaches on this frame (each marker on the first
// whole frame at or after its own) follow, after three blanks and joined by ", ".
std::string frameReadOut(std::int64_t frame, float fps,
                         const std::vector<KeyMarker>& markers = {});

// The played object at `frame` of the first `count` entries, and the jumps among them. Throws
// ConversionError or MathError for cells that do not convert; needs count > 0.
ScenePlayback scenePlayback(const EntryTable& table, int count, std::int64_t frame);

// The whole picture at the given size: black, the navy ground grid, the level's edges in dark
// cyan and the object's in light grey, every entry as a green square, and the highlighted entry
// as a red square with a one-unit line along its heading. A cell that does not hold a number
// leaves its entry out. Without a level and an object the picture is the path's alone. The other
// nodes' entries are dim green squares behind the path and their played objects dim yellow
// ones. With a playback, the entries that end in a jump are magenta squares under the red one,
// and the played object a yellow square with its heading line over everything.
Bitmap DrawScene(int width, int height, const Camera& camera, const SceneEntries& entries,
                 const SceneWorld& world = {}, const ScenePlayback* playback = nullptr);

} // namespace skyvane
