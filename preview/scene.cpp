// The preview's camera, projection and drawing. Sums and products run in long double and are
// stored to 32-bit floats where the camera keeps them, so the read-outs and pixels come out the
// same on every run.
#include "preview/scene.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>

#include "core/numbers.h"
#include "core/playback.h"
#include "core/values.h"

namespace skyvane {

namespace {

constexpr long double kTwoPi = 2.0L * kPi;
constexpr long double kElevationStep = kPi / 20.0L; // 9 degrees
constexpr long double kAzimuthStep = kPi / 12.0L;   // 15 degrees
constexpr long double kPixelsPerRightAngle = 2000.0L;
constexpr long double kDragDegreesPerPixel = 0.5L;
constexpr long double kMaxPanAngle = kPi * 85.0L / 180.0L; // tan grows without bound at 90
// Closer rungs above the keys' 10: framing reaches them, and the keys walk them from there.
constexpr std::array<float, 6> kCloseZooms{20.0f, 50.0f, 100.0f, 200.0f, 500.0f, 1000.0f};
// The 20 rungs of 0.1 .. 10 and the closer ones.
constexpr int kZoomRungs = 20 + static_cast<int>(kCloseZooms.size());
constexpr std::int64_t kMaxPlayed = std::int64_t{1} << 40; // frames of any one playback
constexpr float kZoomMax = 10.0f;
constexpr int kFramingAttempts = 64; // each doubles the eye's distance
constexpr int kZoomTenthsMin = 1;
constexpr int kGridHalf = 15;  // lines at -15 .. 15
constexpr int kGridReach = 16; // each line runs from -16 to 16

// A 32-bit float of a computed value, or nothing when it is not finite or beyond the range
// (such a value rounds to an infinity). Every projected point passes here five times, so the
// check stays this cheap.
std::optional<float> storable(long double value) {
    const auto single = static_cast<float>(value);
    if (!std::isfinite(single))
        return std::nullopt;
    return single;
}

// Nearest integer, an exact half going to the smaller one: a GDI line passing halfway between
// two pixels lights the upper or the left one. numerator / denominator with denominator > 0.
long long roundHalfDown(long long numerator, long long denominator) {
    const long long twice = 2 * numerator - denominator;
    const long long divisor = 2 * denominator;
    // ceil(twice / divisor) for a positive divisor
    return twice >= 0 ? (twice + divisor - 1) / divisor : -((-twice) / divisor);
}

std::optional<float> cellValue(const EntryTable& table, int column, int entry) {
    try {
        return parseSingle(table.cell(column, entry));
    } catch (const ConversionError&) {
        return std::nullopt;
    } catch (const MathError&) {
        return std::nullopt;
    }
}

// The point one unit from `at` in the direction of pitch and yaw (degrees): yaw 0 towards +Y,
// yaw 90 towards -X, positive pitch upwards.
std::optional<Vec3f> headingTip(Vec3f at, float pitchDegrees, float yawDegrees) {
    const long double pitch = toSingle(radiansFromDegrees(pitchDegrees));
    const long double yaw = toSingle(radiansFromDegrees(yawDegrees));
    const auto x = storable(at.x - std::sin(yaw) * std::cos(pitch));
    const auto y = storable(at.y + std::cos(yaw) * std::cos(pitch));
    const auto z = storable(at.z + std::sin(pitch));
    if (!x || !y || !z)
        return std::nullopt;
    return Vec3f{*x, *y, *z};
}

void drawWorldLine(Bitmap& bitmap, int cx, int cy, const Camera& camera, Vec3f from, Vec3f to) {
    const auto start = ProjectPoint(cx, cy, camera, from);
    const auto end = ProjectPoint(cx, cy, camera, to);
    if (!start || !end)
        return;
    bitmap.moveTo(*start);
    bitmap.lineTo(*end);
}

void drawGrid(Bitmap& bitmap, int cx, int cy, const Camera& camera) {
    bitmap.setPen(kNavy);
    const auto reach = static_cast<float>(kGridReach);
    for (int i = -kGridHalf; i <= kGridHalf; ++i) {
        const auto x = static_cast<float>(i);
        drawWorldLine(bitmap, cx, cy, camera, {x, -reach, 0.0f}, {x, reach, 0.0f});
    }
    for (int i = -kGridHalf; i <= kGridHalf; ++i) {
        const auto y = static_cast<float>(i);
        drawWorldLine(bitmap, cx, cy, camera, {-reach, y, 0.0f}, {reach, y, 0.0f});
    }
}

// A square of side 2 x half around the pixel, right and bottom edges exclusive.
void drawSquare(Bitmap& bitmap, Pixel centre, int half) {
    bitmap.rectangle({centre.x - half, centre.y - half}, {centre.x + half, centre.y + half});
}

void drawEntries(Bitmap& bitmap, int cx, int cy, const Camera& camera,
                 const SceneEntries& entries) {
    bitmap.setPen(kGreen);
    bitmap.setBrush(kBlack);
    for (int k = 0; k < entries.count; ++k) {
        const auto position = entryPosition(entries.table, k);
        if (!position)
            continue;
        if (const auto pixel = ProjectPoint(cx, cy, camera, *position))
            drawSquare(bitmap, *pixel, 2);
    }
}

// A filled 6 x 6 square at the point and, when its angles are known, a line one unit along
// its heading.
void drawMarker(Bitmap& bitmap, int cx, int cy, const Camera& camera, Vec3f at,
                std::optional<float> pitch, std::optional<float> yaw) {
    const auto pixel = ProjectPoint(cx, cy, camera, at);
    if (!pixel)
        return;
    drawSquare(bitmap, *pixel, 3);
    if (!pitch || !yaw)
        return;
    const auto tip = headingTip(at, *pitch, *yaw);
    if (!tip)
        return;
    if (const auto tipPixel = ProjectPoint(cx, cy, camera, *tip)) {
        bitmap.moveTo(*pixel);
        bitmap.lineTo(*tipPixel);
    }
}

void drawHighlighted(Bitmap& bitmap, int cx, int cy, const Camera& camera,
                     const SceneEntries& entries) {
    bitmap.setPen(kRed);
    bitmap.setBrush(kRed);
    const int k = std::clamp(entries.highlighted, 0, entries.count - 1);
    const auto position = entryPosition(entries.table, k);
    if (!position)
        return;
    drawMarker(bitmap, cx, cy, camera, *position, cellValue(entries.table, ColPitch, k),
               cellValue(entries.table, ColYaw, k));
}

// A square outline of side 2 x half around the pixel, all four sides drawn.
void drawRing(Bitmap& bitmap, Pixel centre, int half) {
    const Pixel corners[] = {{centre.x - half, centre.y - half},
                             {centre.x + half, centre.y - half},
                             {centre.x + half, centre.y + half},
                             {centre.x - half, centre.y + half}};
    bitmap.moveTo(corners[3]);
    for (const Pixel& corner : corners)
        bitmap.lineTo(corner);
}

// The red square of the highlighted entry covers its jump square, so a jump there is also
// ringed, clear of the red square and under its heading line.
void drawJumps(Bitmap& bitmap, int cx, int cy, const Camera& camera, const SceneEntries& entries,
               const std::vector<int>& jumps) {
    bitmap.setPen(kMagenta);
    bitmap.setBrush(kMagenta);
    const int highlighted = std::clamp(entries.highlighted, 0, entries.count - 1);
    for (const int k : jumps) {
        if (k < 0 || k >= entries.count)
            continue;
        const auto position = entryPosition(entries.table, k);
        if (!position)
            continue;
        const auto pixel = ProjectPoint(cx, cy, camera, *position);
        if (!pixel)
            continue;
        drawSquare(bitmap, *pixel, 3);
        if (k == highlighted)
            drawRing(bitmap, *pixel, 5);
    }
}

// Behind the path, so the entries always stay in sight.
void drawWorld(Bitmap& bitmap, int cx, int cy, const Camera& camera, const SceneWorld& world) {
    if (world.level) {
        bitmap.setPen(kDarkCyan);
        drawWireframe(bitmap, cx, cy, camera, world.level->vertices, world.level->edges);
    }
    bitmap.setPen(kLightGrey);
    for (const WireMesh& mesh : world.object)
        drawWireframe(bitmap, cx, cy, camera, mesh.points, *mesh.edges);
    bitmap.setPen(kDimGreen);
    bitmap.setBrush(kBlack);
    for (const std::vector<Vec3f>& path : world.otherPaths)
        for (const Vec3f& point : path)
            if (const auto pixel = ProjectPoint(cx, cy, camera, point))
                drawSquare(bitmap, *pixel, 2);
}

// The other nodes where the game has them at the played frame, dimmed.
void drawOtherPlayed(Bitmap& bitmap, int cx, int cy, const Camera& camera,
                     const SceneWorld& world) {
    bitmap.setPen(kDimYellow);
    bitmap.setBrush(kDimYellow);
    for (const NodePose& pose : world.otherPlayed)
        drawMarker(bitmap, cx, cy, camera, pose.position, pose.rotation.x, pose.rotation.y);
}

// The object where the game has it at the played frame.
void drawPlayedObject(Bitmap& bitmap, int cx, int cy, const Camera& camera,
                      const ScenePlayback& playback) {
    bitmap.setPen(kYellow);
    bitmap.setBrush(kYellow);
    drawMarker(bitmap, cx, cy, camera, playback.position, playback.pitch, playback.yaw);
}

Vec3f step(Vec3f from, float length, Vec3f along, int sign) {
    const long double move = static_cast<long double>(sign) * length;
    return {toSingle(from.x + move * along.x), toSingle(from.y + move * along.y),
            toSingle(from.z + move * along.z)};
}

// A step with its wrap; the wrap looks at the angle as stored in 32 bits.
float turn(float angle, long double by) {
    const float turned = toSingle(angle + by);
    if (by > 0 && turned >= kTwoPi)
        return toSingle(turned - kTwoPi);
    if (by < 0 && turned < 0)
        return toSingle(turned + kTwoPi);
    return turned;
}

unsigned pan(Camera& camera, NavKey key) {
    switch (key) {
    case NavKey::Up:
    case NavKey::Down:
        camera.Focus = step(camera.Focus, camera.MoveStep, camera.Up, key == NavKey::Up ? 1 : -1);
        deriveFields(camera);
        return ReadOutX | ReadOutY | ReadOutZ;
    case NavKey::Left:
    case NavKey::Right: {
        // Side is horizontal: the focus keeps its height.
        const Vec3f side{camera.Side.x, camera.Side.y, 0.0f};
        camera.Focus = step(camera.Focus, camera.MoveStep, side, key == NavKey::Right ? 1 : -1);
        deriveFields(camera);
        return ReadOutX | ReadOutY;
    }
    default:
        return ReadOutNone;
    }
}

unsigned orbit(Camera& camera, NavKey key) {
    switch (key) {
    case NavKey::Up:
    case NavKey::Down:
        // Elevation runs through the whole circle: over the top the picture turns upside down.
        camera.Elevation =
            turn(camera.Elevation, key == NavKey::Up ? kElevationStep : -kElevationStep);
        deriveFields(camera);
        return ReadOutX | ReadOutY | ReadOutZ | ReadOutU | ReadOutV | ReadOutW;
    case NavKey::Left:
    case NavKey::Right:
        camera.Azimuth = turn(camera.Azimuth, key == NavKey::Right ? kAzimuthStep : -kAzimuthStep);
        deriveFields(camera);
        return ReadOutX | ReadOutY | ReadOutU | ReadOutV;
    default:
        return ReadOutNone;
    }
}

// The ladder value of a whole number of tenths (1..9) or of whole units (1..10).
float tenths(int count) {
    return toSingle(static_cast<long double>(count) / 10.0L);
}

} // namespace

void deriveFields(Camera& camera) {
    const long double el = camera.Elevation;
    const long double az = camera.Azimuth;
    const long double radius = camera.Distance;
    const long double cosEl = std::cos(el);
    const long double sinEl = std::sin(el);
    const long double cosAz = std::cos(az);
    const long double sinAz = std::sin(az);
    camera.Heading = {toSingle(-cosEl * cosAz), toSingle(-cosEl * sinAz), toSingle(-sinEl)};
    camera.Position = {toSingle(camera.Focus.x + radius * cosEl * cosAz),
                       toSingle(camera.Focus.y + radius * cosEl * sinAz),
                       toSingle(camera.Focus.z + radius * sinEl)};
    camera.Side = {toSingle(-sinAz), toSingle(cosAz)};
    camera.Up = {toSingle(-sinEl * cosAz), toSingle(-sinEl * sinAz), toSingle(cosEl)};
}

std::optional<Vec3f> entryPosition(const EntryTable& table, int entry) {
    const auto x = cellValue(table, ColX, entry);
    const auto y = cellValue(table, ColY, entry);
    const auto z = cellValue(table, ColZ, entry);
    if (!x || !y || !z)
        return std::nullopt;
    return Vec3f{*x, *y, *z};
}

Camera startCamera() {
    Camera camera;
    deriveFields(camera);
    return camera;
}

float zoomIn(float zoom) {
    if (zoom < 1.0f)
        return tenths(static_cast<int>(roundHalfEven(zoom * 10.0L)) + 1);
    if (zoom <= kZoomMax)
        return std::min(kZoomMax, static_cast<float>(roundHalfEven(zoom) + 1));
    const auto closer = std::upper_bound(kCloseZooms.begin(), kCloseZooms.end(), zoom);
    return closer == kCloseZooms.end() ? kCloseZooms.back() : *closer;
}

float zoomOut(float zoom) {
    if (zoom > kZoomMax) {
        const auto below = std::lower_bound(kCloseZooms.begin(), kCloseZooms.end(), zoom);
        return below == kCloseZooms.begin() ? kZoomMax : *(below - 1);
    }
    if (zoom > 1.0f)
        return static_cast<float>(roundHalfEven(zoom) - 1);
    return tenths(std::max(kZoomTenthsMin, static_cast<int>(roundHalfEven(zoom * 10.0L)) - 1));
}

unsigned navigate(Camera& camera, NavKey key, KeyModifiers modifiers) {
    if (key == NavKey::ZoomIn || key == NavKey::ZoomOut) {
        camera.Zoom = key == NavKey::ZoomIn ? zoomIn(camera.Zoom) : zoomOut(camera.Zoom);
        return ReadOutZoom;
    }
    if (modifiers.ctrl || modifiers.alt)
        return ReadOutNone;
    return modifiers.shift ? orbit(camera, key) : pan(camera, key);
}

Pixel pictureCentre(int width, int height) {
    return {static_cast<int>(roundHalfEven(width * 0.5L)),
            static_cast<int>(roundHalfEven(height * 0.5L))};
}

unsigned orbitByDrag(Camera& camera, int dx, int dy) {
    // A whole turn or more in one move is taken modulo the turn, so one wrap brings it back.
    const auto by = [](int pixels) {
        return radiansFromDegrees(std::fmod(pixels * kDragDegreesPerPixel, 360.0L));
    };
    unsigned changed = ReadOutNone;
    if (dx != 0) {
        camera.Azimuth = turn(camera.Azimuth, -by(dx));
        changed |= ReadOutX | ReadOutY | ReadOutU | ReadOutV;
    }
    if (dy != 0) {
        camera.Elevation = turn(camera.Elevation, by(dy));
        changed |= ReadOutX | ReadOutY | ReadOutZ | ReadOutU | ReadOutV | ReadOutW;
    }
    deriveFields(camera);
    return changed;
}

unsigned panByDrag(Camera& camera, Pixel centre, Pixel from, Pixel to) {
    if (from == to)
        return ReadOutNone;
    // The inverse of the projection: a pixel offset is proportional to its angle off the view.
    const long double radiansPerPixel = kPi / (2.0L * kPixelsPerRightAngle * camera.Zoom);
    const auto offset = [&](long double pixels) {
        const long double angle = std::clamp(pixels * radiansPerPixel, -kMaxPanAngle, kMaxPanAngle);
        return camera.Distance * std::tan(angle);
    };
    const long double lateral = offset(to.x - centre.x) - offset(from.x - centre.x);
    const long double vertical = offset(centre.y - to.y) - offset(centre.y - from.y);
    // The camera moves against the mouse, so the scene follows it.
    const Vec3f& up = camera.Up;
    const Vec2f& side = camera.Side;
    camera.Focus = {toSingle(camera.Focus.x - lateral * side.x - vertical * up.x),
                    toSingle(camera.Focus.y - lateral * side.y - vertical * up.y),
                    toSingle(camera.Focus.z - vertical * up.z)};
    deriveFields(camera);
    return ReadOutX | ReadOutY | ReadOutZ;
}

unsigned zoomByWheel(Camera& camera, int notches) {
    if (notches == 0)
        return ReadOutNone;
    // The ladder has twenty rungs; more notches than that change nothing more.
    for (int i = 0; i < std::min(std::abs(notches), kZoomRungs); ++i)
        camera.Zoom = notches > 0 ? zoomIn(camera.Zoom) : zoomOut(camera.Zoom);
    return ReadOutZoom;
}

std::vector<float> zoomLadder() {
    std::vector<float> ladder;
    for (float zoom = tenths(kZoomTenthsMin); zoom < kZoomMax; zoom = zoomIn(zoom))
        ladder.push_back(zoom);
    ladder.push_back(kZoomMax);
    ladder.insert(ladder.end(), kCloseZooms.begin(), kCloseZooms.end());
    return ladder;
}

unsigned frameAll(Camera& camera, const std::vector<Vec3f>& points, int width, int height) {
    if (points.empty() || width <= 2 * kFrameMargin || height <= 2 * kFrameMargin)
        return ReadOutNone;
    Vec3f low = points.front();
    Vec3f high = points.front();
    for (const Vec3f& p : points) {
        low = {std::min(low.x, p.x), std::min(low.y, p.y), std::min(low.z, p.z)};
        high = {std::max(high.x, p.x), std::max(high.y, p.y), std::max(high.z, p.z)};
    }
    const auto middle = [](float a, float b) { return (static_cast<long double>(a) + b) / 2; };
    const auto span = [](float a, float b) { return static_cast<long double>(b) - a; };
    const long double radius =
        std::hypot(std::hypot(span(low.x, high.x), span(low.y, high.y)), span(low.z, high.z)) / 2;
    const Pixel centre = pictureCentre(width, height);
    const auto fits = [&](const Camera& at) {
        return std::all_of(points.begin(), points.end(), [&](const Vec3f& p) {
            const auto pixel = ProjectPoint(centre.x, centre.y, at, p);
            return pixel && pixel->x >= kFrameMargin && pixel->x < width - kFrameMargin &&
                   pixel->y >= kFrameMargin && pixel->y < height - kFrameMargin;
        });
    };
    const std::vector<float> ladder = zoomLadder();
    // The eye stands back along the heading from the middle, at least twice the radius, so every
    // point lies in front of it within 45 degrees of the view; where even the farthest rung does
    // not fit the picture, it stands back further.
    long double eye = std::max<long double>(camera.Distance, 2 * radius);
    for (int attempt = 0; attempt < kFramingAttempts; ++attempt, eye *= 2) {
        const long double back = eye - camera.Distance;
        Camera framed = camera;
        const auto fx = storable(middle(low.x, high.x) - back * camera.Heading.x);
        const auto fy = storable(middle(low.y, high.y) - back * camera.Heading.y);
        const auto fz = storable(middle(low.z, high.z) - back * camera.Heading.z);
        if (!fx || !fy || !fz)
            return ReadOutNone;
        framed.Focus = {*fx, *fy, *fz};
        try {
            deriveFields(framed);
        } catch (const MathError&) {
            return ReadOutNone;
        }
        // The closest rung that fits.
        for (auto rung = ladder.rbegin(); rung != ladder.rend(); ++rung) {
            framed.Zoom = *rung;
            if (fits(framed)) {
                camera = framed;
                return ReadOutAll;
            }
        }
    }
    return ReadOutNone;
}

unsigned resetCamera(Camera& camera) {
    camera = startCamera();
    return ReadOutAll;
}

PlaybackStep advancePlayback(std::int64_t startFrame, long double elapsed, float fps,
                             PlayRange range, bool loop) {
    const std::int64_t first = std::max<std::int64_t>(range.first, 0);
    const std::int64_t last = std::max(range.last, first);
    // Whole frames only: a frame is shown once its time has come.
    const long double played = std::floor(std::max(elapsed, 0.0L) * fps);
    const long double frame = startFrame + std::min(played, static_cast<long double>(kMaxPlayed));
    if (frame <= last)
        return {static_cast<std::int64_t>(frame), false};
    if (!loop)
        return {last, true};
    const long double length = static_cast<long double>(last - first + 1);
    return {first + static_cast<std::int64_t>(std::fmod(frame - first, length)), false};
}

std::string frameReadOut(std::int64_t frame, float fps, const std::vector<KeyMarker>& markers) {
    std::string text = "Frame " + std::to_string(frame) + "   " +
                       formatPattern(static_cast<long double>(frame) / fps, "###0.000") + " s";
    const char* separator = "   ";
    for (const KeyMarker& marker : markers) {
        if (std::ceil(static_cast<long double>(marker.frame)) != frame)
            continue;
        text += separator;
        text += markerTypeName(marker.type);
        separator = ", ";
    }
    return text;
}

ScenePlayback scenePlayback(const EntryTable& table, int count, std::int64_t frame) {
    const PlayedFrame played = playedFrame(table, count, frame);
    ScenePlayback playback;
    playback.position = {played.values[0], played.values[1], played.values[2]};
    playback.pitch = played.values[kFirstAngle];
    playback.yaw = played.values[kFirstAngle + 1];
    playback.roll = played.values[kFirstAngle + 2];
    for (const PlaybackJump& jump : nodeJumps(table, count, 0))
        playback.jumps.push_back(jump.entry);
    return playback;
}

std::optional<Pixel> ProjectPoint(int cx, int cy, const Camera& camera, Vec3f point) {
    const long double dx = static_cast<long double>(point.x) - camera.Position.x;
    const long double dy = static_cast<long double>(point.y) - camera.Position.y;
    const long double dz = static_cast<long double>(point.z) - camera.Position.z;
    const auto depth =
        storable(dx * camera.Heading.x + dy * camera.Heading.y + dz * camera.Heading.z);
    const auto lateral = storable(dx * camera.Side.x + dy * camera.Side.y);
    const auto vertical = storable(dx * camera.Up.x + dy * camera.Up.y + dz * camera.Up.z);
    // Zero depth would divide by zero: such a point lies in the plane of the eye.
    if (!depth || !lateral || !vertical || *depth == 0.0f)
        return std::nullopt;
    const auto a = storable(std::atan(static_cast<long double>(*lateral) / *depth));
    const auto b = storable(std::atan(static_cast<long double>(*vertical) / *depth));
    if (!a || !b)
        return std::nullopt;
    const long double scale = kPixelsPerRightAngle * camera.Zoom;
    const long double offsetX = scale * *a * 2.0L / kPi;
    const long double offsetY = scale * *b * 2.0L / kPi;
    if (!std::isfinite(offsetX) || !std::isfinite(offsetY))
        return std::nullopt;
    return Pixel{cx + static_cast<int>(roundHalfEven(offsetX)),
                 cy - static_cast<int>(roundHalfEven(offsetY))};
}

Bitmap::Bitmap(int width, int height)
    : width_(std::max(0, width)), height_(std::max(0, height)),
      bytes_(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_) * 3) {}

Rgb Bitmap::pixel(int x, int y) const {
    const std::uint8_t* at = scanLine(y) + static_cast<std::size_t>(x) * 3;
    return {at[0], at[1], at[2]};
}

const std::uint8_t* Bitmap::scanLine(int y) const {
    return bytes_.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) * 3;
}

void Bitmap::fill(Rgb colour) {
    // Black, grey and white have three equal bytes: one pass of the fastest kind.
    if (colour.r == colour.g && colour.g == colour.b) {
        std::fill(bytes_.begin(), bytes_.end(), colour.r);
        return;
    }
    for (std::size_t i = 0; i < bytes_.size(); i += 3) {
        bytes_[i] = colour.r;
        bytes_[i + 1] = colour.g;
        bytes_[i + 2] = colour.b;
    }
}

void Bitmap::setPixel(long long x, long long y, Rgb colour) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_)
        return;
    const std::size_t at = (static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
                            static_cast<std::size_t>(x)) *
                           3;
    bytes_[at] = colour.r;
    bytes_[at + 1] = colour.g;
    bytes_[at + 2] = colour.b;
}

// One pixel per step along the longer axis; the other coordinate is the ideal line's, rounded
// with halves to the upper or left pixel. Steps run from 0 to length - 1, so the end pixel is
// left for the next line to start from. Only steps whose main coordinate lies on the bitmap are
// walked, so far-off end points cost nothing.
void Bitmap::lineTo(Pixel to) {
    const Pixel from = current_;
    current_ = to;
    const long long dx = static_cast<long long>(to.x) - from.x;
    const long long dy = static_cast<long long>(to.y) - from.y;
    const bool alongX = std::llabs(dx) >= std::llabs(dy);
    const long long length = alongX ? std::llabs(dx) : std::llabs(dy);
    if (length == 0)
        return;
    const long long start = alongX ? from.x : from.y;
    const long long direction = (alongX ? dx : dy) > 0 ? 1 : -1;
    const long long extent = alongX ? width_ : height_;
    // Steps i with 0 <= start + direction * i < extent.
    long long first = direction > 0 ? -start : start - extent + 1;
    long long last = direction > 0 ? extent - 1 - start : start;
    first = std::max(first, 0LL);
    last = std::min(last, length - 1);
    const long long minorStart = alongX ? from.y : from.x;
    const long long minorDelta = alongX ? dy : dx;
    // The offset of step i is roundHalfDown(i * minorDelta, length), the least whole number not
    // below (2 i minorDelta - length) / (2 length). It is divided out once and then carried from
    // step to step with its remainder: a step adds 2 minorDelta to the numerator, which is at
    // most 2 length, so the offset moves by one at most.
    const long long twoLength = 2 * length;
    long long offset = roundHalfDown(first * minorDelta, length);
    long long remainder = offset * twoLength - (2 * first * minorDelta - length); // 0 .. 2L - 1
    // Pixels are written straight into the rows: the main coordinate is on the bitmap already,
    // the other is checked.
    const long long minorExtent = alongX ? height_ : width_;
    const long long majorStride = alongX ? 3 : 3LL * width_;
    const long long minorStride = alongX ? 3LL * width_ : 3;
    std::uint8_t* const rows = bytes_.data();
    const Rgb pen = pen_;
    for (long long i = first; i <= last; ++i) {
        const long long minor = minorStart + offset;
        if (minor >= 0 && minor < minorExtent) {
            std::uint8_t* at = rows + (start + direction * i) * majorStride + minor * minorStride;
            at[0] = pen.r;
            at[1] = pen.g;
            at[2] = pen.b;
        }
        remainder -= 2 * minorDelta;
        if (remainder < 0) {
            ++offset;
            remainder += twoLength;
        } else if (remainder >= twoLength) {
            --offset;
            remainder -= twoLength;
        }
    }
}

void Bitmap::rectangle(Pixel topLeft, Pixel bottomRight) {
    const long long left = std::min(topLeft.x, bottomRight.x);
    const long long right = std::max(topLeft.x, bottomRight.x) - 1;
    const long long top = std::min(topLeft.y, bottomRight.y);
    const long long bottom = std::max(topLeft.y, bottomRight.y) - 1;
    for (long long y = top; y <= bottom; ++y)
        for (long long x = left; x <= right; ++x) {
            const bool edge = x == left || x == right || y == top || y == bottom;
            setPixel(x, y, edge ? pen_ : brush_);
        }
}

Bitmap DrawScene(int width, int height, const Camera& camera, const SceneEntries& entries,
                 const SceneWorld& world, const ScenePlayback* playback) {
    Bitmap bitmap(width, height);
    const auto [cx, cy] = pictureCentre(bitmap.width(), bitmap.height());
    bitmap.fill(kBlack);
    drawGrid(bitmap, cx, cy, camera);
    drawWorld(bitmap, cx, cy, camera, world);
    // Never read past the table, whatever count the caller passes.
    const SceneEntries drawn{entries.table, std::clamp(entries.count, 0, entries.table.rowCount()),
                             entries.highlighted};
    drawEntries(bitmap, cx, cy, camera, drawn);
    if (playback)
        drawJumps(bitmap, cx, cy, camera, drawn, playback->jumps);
    if (drawn.count > 0)
        drawHighlighted(bitmap, cx, cy, camera, drawn);
    // The played objects come last, over the whole path.
    drawOtherPlayed(bitmap, cx, cy, camera, world);
    if (playback)
        drawPlayedObject(bitmap, cx, cy, camera, *playback);
    return bitmap;
}

} // namespace skyvane
