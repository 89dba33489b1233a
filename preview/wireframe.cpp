// Posing and drawing wireframes. A node's frame maps a point v of its mesh to
// turn(v + pivot) + position - (the parent's pivot), inside the parent's frame; turn applies
// roll about Y, then pitch about X, then yaw about Z, so a node at yaw 0 and pitch 0 faces +Y
// like an entry of the path. Frames are composed in long double and points stored as 32 bits.
#include "preview/wireframe.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "formats/gametext.h"
#include "core/keymotion.h"
#include "core/numbers.h"
#include "core/values.h"
#include "preview/scene.h"

namespace skyvane {

namespace {

using Vec3l = std::array<long double, 3>;

Vec3l widened(const Vec3f& v) {
    return {v.x, v.y, v.z};
}

// An affine map: the images of the three axes, then the image of the origin.
struct Frame {
    std::array<Vec3l, 3> axes{{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}};
    Vec3l origin{0, 0, 0};

    Vec3l turned(const Vec3l& v) const {
        Vec3l out{};
        for (std::size_t row = 0; row < 3; ++row)
            out[row] = axes[0][row] * v[0] + axes[1][row] * v[1] + axes[2][row] * v[2];
        return out;
    }
    Vec3l apply(const Vec3l& v) const {
        Vec3l out = turned(v);
        for (std::size_t row = 0; row < 3; ++row)
            out[row] += origin[row];
        return out;
    }
    // This frame applied after `inner`.
    Frame after(const Frame& inner) const {
        Frame out;
        for (std::size_t axis = 0; axis < 3; ++axis)
            out.axes[axis] = turned(inner.axes[axis]);
        out.origin = apply(inner.origin);
        return out;
    }
};

// Roll about Y, then pitch about X, then yaw about Z.
Vec3l turn(Vec3l v, const Vec3f& pitchYawRoll) {
    const long double roll = radiansFromDegrees(pitchYawRoll.z);
    v = {v[0] * std::cos(roll) + v[2] * std::sin(roll), v[1],
         -v[0] * std::sin(roll) + v[2] * std::cos(roll)};
    const long double pitch = radiansFromDegrees(pitchYawRoll.x);
    v = {v[0], v[1] * std::cos(pitch) - v[2] * std::sin(pitch),
         v[1] * std::sin(pitch) + v[2] * std::cos(pitch)};
    const long double yaw = radiansFromDegrees(pitchYawRoll.y);
    return {v[0] * std::cos(yaw) - v[1] * std::sin(yaw),
            v[0] * std::sin(yaw) + v[1] * std::cos(yaw), v[2]};
}

// The frame of a pose: turned by its angles, moved to its position.
Frame poseFrame(const NodePose& pose) {
    Frame frame;
    for (std::size_t axis = 0; axis < 3; ++axis) {
        Vec3l unit{0, 0, 0};
        unit[axis] = 1;
        frame.axes[axis] = turn(unit, pose.rotation);
    }
    frame.origin = widened(pose.position);
    return frame;
}

// A node's frame inside its parent's: the pose, shifted by its own pivot before turning and by
// the parent's pivot after it.
Frame nodeFrame(const HierarchyNode& node, const NodePose& pose, const HierarchyNode* parent) {
    Frame frame = poseFrame(pose);
    const Vec3l pivot = frame.turned(widened(node.pivot));
    for (std::size_t row = 0; row < 3; ++row) {
        frame.origin[row] += pivot[row];
        if (parent)
            frame.origin[row] -= widened(parent->pivot)[row];
    }
    return frame;
}

class ObjectPoser {
public:
    ObjectPoser(const Model3do& model, const std::vector<std::optional<NodePose>>& nodePoses,
                const std::optional<NodePose>& placement)
        : model_(model), nodePoses_(nodePoses),
          placement_(placement ? poseFrame(*placement) : Frame{}), frames_(model.nodes.size()) {}

    std::vector<WireMesh> meshes() {
        std::vector<WireMesh> posed;
        for (std::size_t n = 0; n < model_.nodes.size(); ++n) {
            const int mesh = model_.nodes[n].mesh;
            if (mesh < 0)
                continue;
            const Mesh3do& shown = model_.meshes.at(static_cast<std::size_t>(mesh));
            const Frame& frame = worldFrame(n);
            WireMesh wire{{}, &shown.edges};
            wire.points.reserve(shown.vertices.size());
            try {
                for (const Vec3f& vertex : shown.vertices) {
                    const Vec3l at = frame.apply(widened(vertex));
                    wire.points.push_back({toSingle(at[0]), toSingle(at[1]), toSingle(at[2])});
                }
            } catch (const MathError&) {
                continue; // a pose beyond the 32-bit range: this mesh is nowhere to be drawn
            }
            posed.push_back(std::move(wire));
        }
        return posed;
    }

private:
    // The reader has made sure every chain of parents ends at a root. The chain is walked as a
    // loop, not by recursion, so a hierarchy of any depth the reader accepts is posed.
    const Frame& worldFrame(std::size_t n) {
        std::vector<std::size_t> unknown; // n and its ancestors not yet posed, nearest first
        for (int at = static_cast<int>(n); at >= 0 && !frames_[static_cast<std::size_t>(at)];
             at = model_.nodes[static_cast<std::size_t>(at)].parent)
            unknown.push_back(static_cast<std::size_t>(at));
        for (auto it = unknown.rbegin(); it != unknown.rend(); ++it)
            frames_[*it] = framedInParent(*it);
        return *frames_[n];
    }

    // A node's world frame once its parent's is known.
    Frame framedInParent(std::size_t n) const {
        const HierarchyNode& node = model_.nodes[n];
        const NodePose rest{node.position, node.rotation};
        const NodePose pose = n < nodePoses_.size() && nodePoses_[n] ? *nodePoses_[n] : rest;
        const auto parentIndex = static_cast<std::size_t>(node.parent);
        const HierarchyNode* parent = node.parent >= 0 ? &model_.nodes[parentIndex] : nullptr;
        const Frame& outer = parent ? *frames_[parentIndex] : placement_;
        return outer.after(nodeFrame(node, pose, parent));
    }

    const Model3do& model_;
    const std::vector<std::optional<NodePose>>& nodePoses_;
    Frame placement_;
    std::vector<std::optional<Frame>> frames_;
};

long double depthOf(const Camera& camera, const Vec3f& point) {
    return (static_cast<long double>(point.x) - camera.Position.x) * camera.Heading.x +
           (static_cast<long double>(point.y) - camera.Position.y) * camera.Heading.y +
           (static_cast<long double>(point.z) - camera.Position.z) * camera.Heading.z;
}

// The point where the line from `front` to `behind` crosses the near plane.
std::optional<Vec3f> cutAtNearPlane(const Vec3f& front, long double frontDepth, const Vec3f& behind,
                                    long double behindDepth) {
    const long double t = (frontDepth - kNearPlane) / (frontDepth - behindDepth);
    const auto between = [t](float a, float b) {
        return a + t * (static_cast<long double>(b) - a);
    };
    try {
        return Vec3f{toSingle(between(front.x, behind.x)), toSingle(between(front.y, behind.y)),
                     toSingle(between(front.z, behind.z))};
    } catch (const MathError&) {
        return std::nullopt;
    }
}

NodePose poseOf(const KeyValues& values) {
    return {{values[0], values[1], values[2]},
            {values[kFirstAngle], values[kFirstAngle + 1], values[kFirstAngle + 2]}};
}

// What reading cells gives, or none where they do not convert.
template <typename Read> auto readable(Read&& read) -> std::optional<decltype(read())> {
    try {
        return read();
    } catch (const ConversionError&) {
    } catch (const MathError&) {
    }
    return std::nullopt;
}

} // namespace

std::vector<int> drivingKeyNodes(const Model3do& model, const std::vector<std::int32_t>& keyJoints) {
    std::vector<int> drivers(model.nodes.size(), -1);
    for (std::size_t k = keyJoints.size(); k-- > 0;) {
        const std::int32_t joint = keyJoints[k];
        if (joint >= 0 && static_cast<std::size_t>(joint) < drivers.size())
            drivers[static_cast<std::size_t>(joint)] = static_cast<int>(k);
    }
    return drivers;
}

std::vector<WireMesh> posedObject(const Model3do& model,
                                  const std::vector<std::optional<NodePose>>& nodePoses,
                                  const std::optional<NodePose>& placement) {
    return ObjectPoser(model, nodePoses, placement).meshes();
}

std::vector<WireMesh> objectAtFrame(const Model3do& model,
                                    const std::vector<std::int32_t>& keyJoints,
                                    const std::vector<std::optional<NodePose>>& keyPoses,
                                    int currentKeyNode) {
    const std::vector<int> drivers = drivingKeyNodes(model, keyJoints);
    const auto poseOf = [&](int k) -> std::optional<NodePose> {
        if (k < 0 || static_cast<std::size_t>(k) >= keyPoses.size())
            return std::nullopt;
        return keyPoses[static_cast<std::size_t>(k)];
    };
    std::vector<std::optional<NodePose>> nodePoses;
    bool currentDrives = false;
    for (int driver : drivers) {
        nodePoses.push_back(poseOf(driver));
        currentDrives = currentDrives || driver == currentKeyNode;
    }
    return posedObject(model, nodePoses, currentDrives ? std::nullopt : poseOf(currentKeyNode));
}

std::vector<std::optional<NodePose>> keyPosesAtFrame(const std::vector<KeyNodeTrack>& nodes,
                                                     std::int64_t frame) {
    std::vector<std::optional<NodePose>> poses;
    for (const KeyNodeTrack& node : nodes) {
        const auto played =
            node.count > 0 ? readable([&] { return playedFrame(*node.table, node.count, frame); })
                           : std::nullopt;
        poses.push_back(played ? std::optional(poseOf(played->values)) : std::nullopt);
    }
    return poses;
}

std::vector<std::optional<NodePose>> keyPosesAtEntry(const std::vector<KeyNodeTrack>& nodes,
                                                     int currentNode, int entry) {
    std::vector<std::optional<NodePose>> none(nodes.size());
    if (currentNode < 0 || currentNode >= static_cast<int>(nodes.size()))
        return none;
    const KeyNodeTrack& current = nodes[static_cast<std::size_t>(currentNode)];
    if (current.count <= 0)
        return none;
    const int shown = std::clamp(entry, 0, current.count - 1);
    const auto played = readable([&] { return playedEntry(*current.table, current.count, shown); });
    if (!played)
        return none;
    std::vector<std::optional<NodePose>> poses = keyPosesAtFrame(nodes, played->frame);
    poses[static_cast<std::size_t>(currentNode)] = poseOf(played->values);
    return poses;
}

void drawWireframe(Bitmap& bitmap, int cx, int cy, const Camera& camera,
                   const std::vector<Vec3f>& points, const std::vector<Edge>& edges) {
    // Each point is looked at once, however many lines meet there.
    std::vector<long double> depths;
    std::vector<std::optional<Pixel>> pixels;
    depths.reserve(points.size());
    pixels.reserve(points.size());
    for (const Vec3f& point : points) {
        depths.push_back(depthOf(camera, point));
        pixels.push_back(depths.back() >= kNearPlane ? ProjectPoint(cx, cy, camera, point)
                                                     : std::nullopt);
    }
    for (const Edge& edge : edges) {
        auto from = static_cast<std::size_t>(edge.from);
        auto to = static_cast<std::size_t>(edge.to);
        const bool fromInFront = depths[from] >= kNearPlane;
        const bool toInFront = depths[to] >= kNearPlane;
        if (!fromInFront && !toInFront)
            continue;
        std::optional<Pixel> end = pixels[to];
        if (fromInFront != toInFront) {
            if (!fromInFront)
                std::swap(from, to);
            const auto cut = cutAtNearPlane(points[from], depths[from], points[to], depths[to]);
            end = cut ? ProjectPoint(cx, cy, camera, *cut) : std::nullopt;
        }
        if (!pixels[from] || !end)
            continue;
        bitmap.moveTo(*pixels[from]);
        bitmap.lineTo(*end);
    }
}

} // namespace skyvane
