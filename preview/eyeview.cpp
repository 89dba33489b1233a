// The camera-eye picture. Eye coordinates run in long double; a line is cut in eye space, where
// the near plane and the picture's edges are planes through the eye, before it is projected, so
// no pixel of it lies far off the bitmap.
#include "preview/eyeview.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "core/numbers.h"
#include "core/values.h"
#include "preview/wireframe.h"

namespace skyvane {

namespace {

constexpr int kGridHalf = 15;           // lines at -15 .. 15, as in the orbiting picture
constexpr int kGridReach = 16;          // each line runs from -16 to 16
constexpr long double kGuardPixels = 2; // lines are cut just outside the picture

long double dot(const Axis& axis, long double x, long double y, long double z) {
    return axis[0] * x + axis[1] * y + axis[2] * z;
}

// Pixels per unit of right or up at one unit ahead: half the width over tan(half the view).
long double focalLength(const EyeView& eye) {
    return eye.width / 2.0L / std::tan(radiansFromDegrees(kEngineFieldOfView / 2.0L));
}

struct EyeProjection {
    Pixel centre;
    long double focal = 0;
    long double sideSlope = 0; // right / ahead at the picture's left and right edges, guarded
    long double upSlope = 0;   // up / ahead at its top and bottom edges
};

EyeProjection projectionOf(const EyeView& eye) {
    EyeProjection projection;
    projection.centre = pictureCentre(eye.width, eye.height);
    projection.focal = focalLength(eye);
    projection.sideSlope = (projection.centre.x + kGuardPixels) / projection.focal;
    projection.upSlope = (projection.centre.y + kGuardPixels) / projection.focal;
    return projection;
}

std::optional<Pixel> pixelOf(const EyeProjection& projection, const EyePoint& at) {
    if (!(at.ahead >= kNearPlane))
        return std::nullopt;
    const long double x = projection.focal * at.right / at.ahead;
    const long double y = projection.focal * at.up / at.ahead;
    constexpr long double kLimit = 1e9L; // far inside the int range
    if (!(std::fabs(x) < kLimit && std::fabs(y) < kLimit))
        return std::nullopt;
    return Pixel{projection.centre.x + static_cast<int>(roundHalfEven(x)),
                 projection.centre.y - static_cast<int>(roundHalfEven(y))};
}

EyePoint between(const EyePoint& a, const EyePoint& b, long double t) {
    return {a.right + t * (b.right - a.right), a.ahead + t * (b.ahead - a.ahead),
            a.up + t * (b.up - a.up)};
}

// The part of the line from a to b in front of the near plane and inside the picture's edges:
// each of those planes keeps the side where its measure is not negative.
void drawEyeLine(Bitmap& bitmap, const EyeProjection& projection, const EyePoint& a,
                 const EyePoint& b) {
    const auto measures = [&](const EyePoint& p) {
        return std::array<long double, 5>{
            p.ahead - kNearPlane, projection.sideSlope * p.ahead - p.right,
            projection.sideSlope * p.ahead + p.right, projection.upSlope * p.ahead - p.up,
            projection.upSlope * p.ahead + p.up};
    };
    const auto atA = measures(a);
    const auto atB = measures(b);
    long double enter = 0;
    long double leave = 1;
    for (std::size_t plane = 0; plane < atA.size(); ++plane) {
        if (atA[plane] < 0 && atB[plane] < 0)
            return;
        const auto crossing = [&] { return atA[plane] / (atA[plane] - atB[plane]); };
        if (atA[plane] < 0)
            enter = std::max(enter, crossing());
        else if (atB[plane] < 0)
            leave = std::min(leave, crossing());
    }
    if (!(enter <= leave))
        return;
    const auto from = pixelOf(projection, between(a, b, enter));
    const auto to = pixelOf(projection, between(a, b, leave));
    if (!from || !to)
        return;
    bitmap.moveTo(*from);
    bitmap.lineTo(*to);
}

void drawEyeWireframe(Bitmap& bitmap, const EyeView& eye, const EyeProjection& projection,
                      const std::vector<Vec3f>& points, const std::vector<Edge>& edges) {
    // Each point is turned once, however many lines meet there.
    std::vector<EyePoint> seen;
    seen.reserve(points.size());
    for (const Vec3f& point : points)
        seen.push_back(seenFromEye(eye, point));
    for (const Edge& edge : edges)
        drawEyeLine(bitmap, projection, seen[static_cast<std::size_t>(edge.from)],
                    seen[static_cast<std::size_t>(edge.to)]);
}

void drawEyeGrid(Bitmap& bitmap, const EyeView& eye, const EyeProjection& projection) {
    bitmap.setPen(kNavy);
    const auto reach = static_cast<float>(kGridReach);
    for (int i = -kGridHalf; i <= kGridHalf; ++i) {
        const auto at = static_cast<float>(i);
        drawEyeLine(bitmap, projection, seenFromEye(eye, {at, -reach, 0}),
                    seenFromEye(eye, {at, reach, 0}));
        drawEyeLine(bitmap, projection, seenFromEye(eye, {-reach, at, 0}),
                    seenFromEye(eye, {reach, at, 0}));
    }
}

void drawEyeSquare(Bitmap& bitmap, const EyeProjection& projection, const EyePoint& at, int half) {
    if (const auto pixel = pixelOf(projection, at))
        bitmap.rectangle({pixel->x - half, pixel->y - half}, {pixel->x + half, pixel->y + half});
}

void drawEyeEntry(Bitmap& bitmap, const EyeView& eye, const EyeProjection& projection,
                  const EntryTable& table, int entry, int half) {
    if (const auto position = entryPosition(table, entry))
        drawEyeSquare(bitmap, projection, seenFromEye(eye, *position), half);
}

} // namespace

Orientation thingOrientation(float pitch, float yaw, float roll) {
    const long double p = radiansFromDegrees(pitch);
    const long double y = radiansFromDegrees(yaw);
    const long double r = radiansFromDegrees(roll);
    const long double sp = std::sin(p), cp = std::cos(p);
    const long double sy = std::sin(y), cy = std::cos(y);
    const long double sr = std::sin(r), cr = std::cos(r);
    Orientation axes;
    axes.look = {-sy * cp, cy * cp, sp};
    axes.right = {cr * cy - sr * sy * sp, cr * sy + sr * cy * sp, -sr * cp};
    axes.up = {sr * cy + cr * sy * sp, sr * sy - cr * cy * sp, cr * cp};
    return axes;
}

EyeView eyeOf(Vec3f position, float pitch, float yaw, float roll, int width, int height) {
    return {position, thingOrientation(pitch, yaw, roll), width, height};
}

EyePoint seenFromEye(const EyeView& eye, Vec3f point) {
    const long double x = static_cast<long double>(point.x) - eye.position.x;
    const long double y = static_cast<long double>(point.y) - eye.position.y;
    const long double z = static_cast<long double>(point.z) - eye.position.z;
    return {dot(eye.axes.right, x, y, z), dot(eye.axes.look, x, y, z), dot(eye.axes.up, x, y, z)};
}

std::optional<Pixel> projectFromEye(const EyeView& eye, Vec3f point) {
    return pixelOf(projectionOf(eye), seenFromEye(eye, point));
}

Bitmap DrawEyeScene(const EyeView& eye, const SceneEntries& entries, const SceneWorld& world) {
    Bitmap bitmap(eye.width, eye.height);
    bitmap.fill(kBlack);
    const EyeProjection projection = projectionOf(eye);
    drawEyeGrid(bitmap, eye, projection);
    if (world.level) {
        bitmap.setPen(kDarkCyan);
        drawEyeWireframe(bitmap, eye, projection, world.level->vertices, world.level->edges);
    }
    bitmap.setPen(kLightGrey);
    for (const WireMesh& mesh : world.object)
        drawEyeWireframe(bitmap, eye, projection, mesh.points, *mesh.edges);
    bitmap.setPen(kDimGreen);
    bitmap.setBrush(kBlack);
    for (const std::vector<Vec3f>& path : world.otherPaths)
        for (const Vec3f& point : path)
            drawEyeSquare(bitmap, projection, seenFromEye(eye, point), 2);
    bitmap.setPen(kDimYellow);
    bitmap.setBrush(kDimYellow);
    for (const NodePose& pose : world.otherPlayed)
        drawEyeSquare(bitmap, projection, seenFromEye(eye, pose.position), 3);
    const int count = std::clamp(entries.count, 0, entries.table.rowCount());
    bitmap.setPen(kGreen);
    bitmap.setBrush(kBlack);
    for (int k = 0; k < count; ++k)
        drawEyeEntry(bitmap, eye, projection, entries.table, k, 2);
    if (count > 0) {
        bitmap.setPen(kRed);
        bitmap.setBrush(kRed);
        drawEyeEntry(bitmap, eye, projection, entries.table,
                     std::clamp(entries.highlighted, 0, count - 1), 3);
    }
    return bitmap;
}

} // namespace skyvane
