// The object and the level as wireframes in the preview: a 3DO model posed the way the game's
// puppet poses it at one frame of the KEY, and lines that are cut where they pass behind the
// eye instead of being mirrored through the centre as single points are.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "formats/geometry.h"
#include "formats/model3do.h"
#include "core/playback.h"

namespace skyvane {

struct Camera;
class Bitmap;

// Lines are cut this far in front of the eye: near enough to look unclipped, far enough for the
// angle of the cut end to stay finite.
inline constexpr long double kNearPlane = 0.01L;

// Where a hierarchy node stands: a position and pitch, yaw, roll in degrees.
struct NodePose {
    Vec3f position;
    Vec3f rotation;
};

// Points in world coordinates and the lines between them.
struct WireMesh {
    std::vector<Vec3f> points;
    const std::vector<Edge>* edges = nullptr; // indices into points; owned by the model or level
};

// For each hierarchy node, the KEY node that drives it: the first whose joint number is the
// hierarchy node's index, as the engine matches them whatever the mesh names say; -1 where none
// is.
std::vector<int> drivingKeyNodes(const Model3do& model, const std::vector<std::int32_t>& keyJoints);

// Every mesh of the model in world coordinates. Each hierarchy node stands in its pose (its
// entry of `nodePoses` where that holds one, its rest pose otherwise) inside its parent's frame;
// the root stands in `placement`, or in the world itself.
std::vector<WireMesh> posedObject(const Model3do& model,
                                  const std::vector<std::optional<NodePose>>& nodePoses,
                                  const std::optional<NodePose>& placement);

// The object at one frame of the KEY. `keyPoses[k]` is where KEY node k is at that frame (none
// where it cannot be played); each drives the hierarchy node of its joint number. When the
// current KEY node drives none, it carries the whole object instead, so the object is always
// seen on the path.
std::vector<WireMesh> objectAtFrame(const Model3do& model,
                                    const std::vector<std::int32_t>& keyJoints,
                                    const std::vector<std::optional<NodePose>>& keyPoses,
                                    int currentKeyNode);

// Where each KEY node stands at `frame` as the game plays it: none for a node without entries or
// whose cells do not convert.
std::vector<std::optional<NodePose>> keyPosesAtFrame(const std::vector<KeyNodeTrack>& nodes,
                                                     std::int64_t frame);

// The KEY nodes with the current one on its entry `entry` (clamped to its entries) and the
// others where the game has them at that entry's Frame; all none when the entry cannot be read.
std::vector<std::optional<NodePose>> keyPosesAtEntry(const std::vector<KeyNodeTrack>& nodes,
                                                     int currentNode, int entry);

// Lines between points with the bitmap's pen, each point projected as ProjectPoint does. A line
// with an end behind the eye is cut where it crosses a plane just in front of the eye, and one
// lying wholly behind it is not drawn.
void drawWireframe(Bitmap& bitmap, int cx, int cy, const Camera& camera,
                   const std::vector<Vec3f>& points, const std::vector<Edge>& edges);

} // namespace skyvane
