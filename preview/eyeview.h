// The picture the cut-scene shows: the eye where the played object stands, turned as the engine
// turns a thing by pitch, yaw and roll, seeing through the engine's default field of view, with
// the level, the object and the path in wireframe.
#pragma once

#include <array>
#include <optional>

#include "preview/scene.h"

namespace skyvane {

using Axis = std::array<long double, 3>;

// A thing's axes in world coordinates as the engine builds them from pitch, yaw and roll in
// degrees: roll turns about the thing's forward axis, then pitch about its right axis, then yaw
// about the world's Z. At 0, 0, 0 right is +X, look +Y and up +Z.
struct Orientation {
    Axis right;
    Axis look;
    Axis up;
};
Orientation thingOrientation(float pitch, float yaw, float roll);

// The engine's default field of view, across the picture's width, in degrees.
inline constexpr long double kEngineFieldOfView = 90.0L;

struct EyeView {
    Vec3f position;
    Orientation axes;
    int width = 0;
    int height = 0;
};

// The eye of a thing at a position with pitch, yaw and roll in degrees.
EyeView eyeOf(Vec3f position, float pitch, float yaw, float roll, int width, int height);

// A world point in the eye's own terms: how far right, ahead and up of the eye it lies.
struct EyePoint {
    long double right = 0;
    long double ahead = 0;
    long double up = 0;
};
EyePoint seenFromEye(const EyeView& eye, Vec3f point);

// The pixel of a world point in perspective, the picture's width spanning the field of view;
// none for a point not in front of the near plane or beyond the picture's integer range.
std::optional<Pixel> projectFromEye(const EyeView& eye, Vec3f point);

// The whole picture seen from the eye: black, the navy ground grid, the level's edges in dark
// cyan and the object's in light grey, the other nodes' entries and played objects dimmed, every
// entry a green square and the highlighted one red.
// Lines are cut at the near plane and at the picture's edges.
Bitmap DrawEyeScene(const EyeView& eye, const SceneEntries& entries, const SceneWorld& world);

} // namespace skyvane
