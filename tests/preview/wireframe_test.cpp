// The object and the level in the picture: the cube posed as the game's puppet poses it, the
// KEY driving only the nodes it names, lines cut at the eye rather than lost or mirrored, and
// pixel probes of all three where the projection puts them.
#include <gtest/gtest.h>

#include <cmath>

#include "preview/scene.h"
#include "testdata.h"
#include "preview/wireframe.h"

namespace skyvane {
namespace {

constexpr int kWidth = 440;
constexpr int kHeight = 439;
constexpr int kCx = 220;
constexpr int kCy = 220;
constexpr double kPi = 3.14159265358979323846;

Model3do cube() {
    auto result = read3doModel(testdata::text("cube.3do"));
    EXPECT_TRUE(result.ok) << result.reason;
    return result.value;
}

// One node showing the three unit axes, to see how a pose turns them.
Model3do axes() {
    Mesh3do mesh{"axes", {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}, {}, {}};
    return {{mesh}, {HierarchyNode{"axes", 0, -1, {}, {}, {}}}};
}

void expectNear(const Vec3f& actual, const Vec3f& expected, const std::string& what) {
    EXPECT_NEAR(actual.x, expected.x, 1e-5) << what;
    EXPECT_NEAR(actual.y, expected.y, 1e-5) << what;
    EXPECT_NEAR(actual.z, expected.z, 1e-5) << what;
}

void expectPoints(const WireMesh& mesh, const std::vector<Vec3f>& expected,
                  const std::string& what) {
    ASSERT_EQ(mesh.points.size(), expected.size()) << what;
    for (std::size_t i = 0; i < expected.size(); ++i)
        expectNear(mesh.points[i], expected[i], what + " point " + std::to_string(i));
}

NodePose at(Vec3f position, Vec3f pitchYawRoll = {}) {
    return {position, pitchYawRoll};
}

// --- posing -------------------------------------------------------------------------------

TEST(PosedObject, turns_rollThenPitchThenYaw_andFaceWhereThePathsHeadingPoints) {
    struct Case {
        Vec3f pitchYawRoll;
        std::vector<Vec3f> axes; // where (1,0,0), (0,1,0), (0,0,1) land
    };
    const Case cases[] = {
        {{0, 90, 0}, {{0, 1, 0}, {-1, 0, 0}, {0, 0, 1}}},
        {{90, 0, 0}, {{1, 0, 0}, {0, 0, 1}, {0, -1, 0}}},
        {{0, 0, 90}, {{0, 0, -1}, {0, 1, 0}, {1, 0, 0}}},
        // Pitched up first, then swung round: the nose keeps pointing up.
        {{90, 90, 0}, {{0, 1, 0}, {0, 0, 1}, {1, 0, 0}}},
    };
    for (const Case& c : cases) {
        const auto posed = posedObject(axes(), {}, at({}, c.pitchYawRoll));
        expectPoints(posed.at(0), c.axes,
                     "pyr " + std::to_string(c.pitchYawRoll.x) + " " +
                         std::to_string(c.pitchYawRoll.y) + " " + std::to_string(c.pitchYawRoll.z));
    }
    // The mesh's +Y is where an entry's heading line points: (-sin yaw cos pitch, cos yaw cos
    // pitch, sin pitch).
    const float pitch = 20, yaw = 130;
    const auto posed = posedObject(axes(), {}, at({}, {pitch, yaw, 35}));
    const double p = pitch * kPi / 180, y = yaw * kPi / 180;
    expectNear(
        posed.at(0).points[1],
        {float(-std::sin(y) * std::cos(p)), float(std::cos(y) * std::cos(p)), float(std::sin(p))},
        "heading");
}

TEST(PosedObject, restPose_putsTheFinOnTopOfTheCube) {
    const Model3do model = cube();
    const auto posed = posedObject(model, {}, std::nullopt);
    ASSERT_EQ(posed.size(), 2u);
    expectPoints(posed[0], model.meshes[0].vertices, "body");
    expectPoints(posed[1], {{0, -0.25f, 0.5f}, {0, 0.25f, 0.5f}, {0, -0.25f, 1}}, "fin");
}

TEST(PosedObject, drivenNodes_turnAboutTheirPivotAndCarryTheirChildren) {
    struct Case {
        const char* name;
        std::vector<std::optional<NodePose>> poses; // per hierarchy node: body, fin
        std::vector<Vec3f> body;
        std::vector<Vec3f> fin;
    };
    const Model3do model = cube();
    const auto& rest = model.meshes[0].vertices;
    std::vector<Vec3f> movedBody;
    for (const Vec3f& v : rest)
        movedBody.push_back({v.x + 10, v.y, v.z});
    const Case cases[] = {
        {"fin turned half round its pivot",
         {std::nullopt, at({0, -0.25f, 0.5f}, {0, 180, 0})},
         rest,
         {{0, -0.25f, 0.5f}, {0, -0.75f, 0.5f}, {0, -0.25f, 1}}},
        {"body moved, the fin with it",
         {at({10, 0, 0}), std::nullopt},
         movedBody,
         {{10, -0.25f, 0.5f}, {10, 0.25f, 0.5f}, {10, -0.25f, 1}}},
        {"body turned a quarter, the fin with it",
         {at({}, {0, 90, 0}), std::nullopt},
         {{0.5f, -0.5f, -0.5f},
          {0.5f, 0.5f, -0.5f},
          {-0.5f, 0.5f, -0.5f},
          {-0.5f, -0.5f, -0.5f},
          {0.5f, -0.5f, 0.5f},
          {0.5f, 0.5f, 0.5f},
          {-0.5f, 0.5f, 0.5f},
          {-0.5f, -0.5f, 0.5f}},
         {{0.25f, 0, 0.5f}, {-0.25f, 0, 0.5f}, {0.25f, 0, 1}}},
    };
    for (const Case& c : cases) {
        const auto posed = posedObject(model, c.poses, std::nullopt);
        ASSERT_EQ(posed.size(), 2u) << c.name;
        expectPoints(posed[0], c.body, std::string(c.name) + ", body");
        expectPoints(posed[1], c.fin, std::string(c.name) + ", fin");
    }
}

TEST(PosedObject, parentsPivot_shiftsItsOwnMeshButNotItsChildren) {
    // A parent whose pivot lifts its mesh by one unit, turned a quarter about Z; its child
    // stands one unit up, where the parent's pivot is taken off again.
    const Mesh3do dot{"dot", {{1, 0, 0}}, {}, {}};
    const Model3do model{{dot},
                         {HierarchyNode{"parent", 0, -1, {}, {0, 90, 0}, {0, 0, 1}},
                          HierarchyNode{"child", 0, 0, {0, 0, 1}, {}, {}}}};
    const auto posed = posedObject(model, {}, std::nullopt);
    ASSERT_EQ(posed.size(), 2u);
    expectPoints(posed[0], {{0, 1, 1}}, "parent");
    expectPoints(posed[1], {{0, 1, 1}}, "child");
}

TEST(DrivingKeyNodes, jointNumbersPickTheHierarchyNode_theFirstKeyNodeWins) {
    EXPECT_EQ(drivingKeyNodes(cube(), {1, 7, 1, 0, -1}), (std::vector<int>{3, 0}));
    EXPECT_EQ(drivingKeyNodes(cube(), {}), (std::vector<int>{-1, -1}));
}

TEST(ObjectAtFrame, theCurrentKeyNodeCarriesTheObjectOnlyWhenItDrivesNoNode) {
    const Model3do model = cube();
    const Vec3f corner = model.meshes[0].vertices[6]; // (0.5, 0.5, 0.5)
    struct Case {
        const char* name;
        std::vector<std::int32_t> joints;
        int current;
        Vec3f expected;
    };
    const Case cases[] = {
        {"a joint the model lacks: the object rides on its path", {5}, 0, {5.5f, 0.5f, 0.5f}},
        {"the body's own track places it once", {0}, 0, {5.5f, 0.5f, 0.5f}},
        {"the fin's track shown: the body keeps its own", {0, 1}, 1, {5.5f, 0.5f, 0.5f}},
        {"no track for the body: it rests", {1}, 0, corner},
    };
    const std::vector<std::optional<NodePose>> poses{at({5, 0, 0}), at({0, -0.25f, 0.5f})};
    for (const Case& c : cases) {
        const auto posed = objectAtFrame(model, c.joints, poses, c.current);
        expectNear(posed.at(0).points[6], c.expected, c.name);
    }
}

// A node of two entries, frames 0 and 10, ten steps apart: from `first` to `second`.
TNode track(const std::string& mesh, const EntryRow& first, const EntryRow& second) {
    TNode node{mesh, 2, EntryTable(2), std::nullopt};
    node.Data.row(0) = first;
    node.Data.row(1) = second;
    return node;
}

TEST(KeyPoses, eachNodeWhereTheGamePlaysIt_theCurrentOneOnItsEntry) {
    const std::vector<TNode> document{track("body", {"0", "0", "10", "0", "0", "0", "0", "0", "0"},
                                            {"1", "10", "1", "10", "0", "0", "0", "90", "0"}),
                                      track("fin", {"0", "0", "10", "0", "0", "0", "0", "0", "0"},
                                            {"1", "10", "1", "0", "0", "0", "90", "0", "0"}),
                                      {"empty", 0, EntryTable(1), std::nullopt},
                                      track("broken",
                                            {"0", "0", "10", "0", "0", "0", "0", "0", "0"},
                                            {"1", "10", "1", "abc", "0", "0", "0", "0", "0"})};
    std::vector<KeyNodeTrack> nodes;
    for (const TNode& node : document)
        nodes.push_back({node.Mesh, &node.Data, node.Entries});
    const NodePose atEnd = at({10, 0, 0}, {0, 90, 0});
    const NodePose finUp = at({}, {90, 0, 0});
    struct Case {
        const char* name;
        std::vector<std::optional<NodePose>> poses;
        std::vector<std::optional<NodePose>> expected;
    };
    const Case cases[] = {
        {"frame 5, half way",
         keyPosesAtFrame(nodes, 5),
         {at({5, 0, 0}, {0, 45, 0}), at({}, {45, 0, 0}), std::nullopt, std::nullopt}},
        {"entry 1: the others at its frame",
         keyPosesAtEntry(nodes, 0, 1),
         {atEnd, finUp, std::nullopt, std::nullopt}},
        {"an entry past the last: the last",
         keyPosesAtEntry(nodes, 0, 7),
         {atEnd, finUp, std::nullopt, std::nullopt}},
        {"the fin current, on entry 0",
         keyPosesAtEntry(nodes, 1, 0),
         {at({}), at({}), std::nullopt, std::nullopt}},
        {"a current node without entries", keyPosesAtEntry(nodes, 2, 0), {4, std::nullopt}},
        {"a current node that does not convert", keyPosesAtEntry(nodes, 3, 1), {4, std::nullopt}},
    };
    for (const Case& c : cases) {
        ASSERT_EQ(c.poses.size(), c.expected.size()) << c.name;
        for (std::size_t k = 0; k < c.expected.size(); ++k) {
            const std::string what = std::string(c.name) + ", node " + std::to_string(k);
            ASSERT_EQ(c.poses[k].has_value(), c.expected[k].has_value()) << what;
            if (!c.expected[k])
                continue;
            expectNear(c.poses[k]->position, c.expected[k]->position, what);
            expectNear(c.poses[k]->rotation, c.expected[k]->rotation, what);
        }
    }
}

// --- pixels -------------------------------------------------------------------------------

Bitmap draw(const Camera& camera, const SceneWorld& world, const EntryTable& table = EntryTable(1),
            int count = 0) {
    return DrawScene(kWidth, kHeight, camera, {table, count, 0}, world);
}

TEST(ObjectPixels, cubeAtAKnownEntryAndOrientation_hasItsEdgesWhereTheProjectionPutsThem) {
    const Camera camera = startCamera();
    const Model3do model = cube();
    const NodePose entry = at({2, 3, 1}, {20, 30, 0});
    SceneWorld world;
    world.object = objectAtFrame(model, {0}, {entry}, 0);
    const Bitmap withObject = draw(camera, world);
    const Bitmap without = draw(camera, {});
    int probed = 0;
    for (const WireMesh& mesh : world.object)
        for (const Edge& edge : *mesh.edges) {
            const auto start = ProjectPoint(kCx, kCy, camera, mesh.points[edge.from]);
            ASSERT_TRUE(start);
            EXPECT_EQ(withObject.pixel(start->x, start->y), kLightGrey)
                << "edge " << edge.from << "-" << edge.to;
            EXPECT_NE(without.pixel(start->x, start->y), kLightGrey);
            ++probed;
        }
    EXPECT_EQ(probed, 15);
}

TEST(ObjectPixels, keyDrivenFin_movesItsMeshAndNotTheBody) {
    const Camera camera = startCamera();
    const Model3do model = cube();
    const std::vector<std::int32_t> joints{0, 1};
    const NodePose body = at({0, 0, 2});
    const auto restObject = objectAtFrame(model, joints, {body, std::nullopt}, 0);
    const auto turnedObject =
        objectAtFrame(model, joints, {body, at({0, -0.25f, 0.5f}, {0, 90, 0})}, 0);
    const Bitmap rest = draw(camera, {nullptr, restObject});
    const Bitmap turned = draw(camera, {nullptr, turnedObject});

    // Every pixel that changed lies where the fin was or now is.
    int left = kWidth, right = -1, top = kHeight, bottom = -1;
    for (const auto* object : {&restObject, &turnedObject})
        for (const Vec3f& point : (*object)[1].points) {
            const Pixel pixel = *ProjectPoint(kCx, kCy, camera, point);
            left = std::min(left, pixel.x);
            right = std::max(right, pixel.x);
            top = std::min(top, pixel.y);
            bottom = std::max(bottom, pixel.y);
        }
    int changed = 0;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            if (rest.pixel(x, y) != turned.pixel(x, y)) {
                ++changed;
                EXPECT_TRUE(x >= left && x <= right && y >= top && y <= bottom) << x << "," << y;
            }
    EXPECT_GT(changed, 0);
    // The body's lines stay where they were.
    for (const Edge& edge : *restObject[0].edges) {
        const Pixel start = *ProjectPoint(kCx, kCy, camera, restObject[0].points[edge.from]);
        EXPECT_EQ(turned.pixel(start.x, start.y), kLightGrey);
    }
}

// Looking along +Y from the origin, Z up.
Camera eyeAtOrigin() {
    Camera camera;
    camera.Position = {0, 0, 0};
    camera.Heading = {0, 1, 0};
    camera.Side = {1, 0};
    camera.Up = {0, 0, 1};
    return camera;
}

TEST(LevelPixels, edgeCrossingThePlaneOfTheEye_isCutThereNotLostNorMirrored) {
    // From ten units ahead to ten units behind, one unit above the eye: straight up the middle
    // of the picture. Mirrored, its far end would come back below the centre.
    // Either end may come first in the edge.
    const Vec3f ahead{0, 10, 1};
    const Vec3f behindTheEye{0, -10, 1};
    for (const Level& level :
         {Level{{ahead, behindTheEye}, {}, {{0, 1}}}, Level{{behindTheEye, ahead}, {}, {{0, 1}}}}) {
        const std::string order = level.vertices[0] == ahead ? "front first" : "behind first";
        const Bitmap bitmap = draw(eyeAtOrigin(), {&level, {}});
        const Pixel front = *ProjectPoint(kCx, kCy, eyeAtOrigin(), ahead);
        EXPECT_EQ(front.x, kCx);
        EXPECT_EQ(front.y, kCy - 127);
        for (int y = 0; y <= front.y; ++y)
            EXPECT_EQ(bitmap.pixel(kCx, y), kDarkCyan) << order << ": up to the top, y " << y;
        for (int y = front.y + 1; y < kHeight; ++y)
            EXPECT_NE(bitmap.pixel(kCx, y), kDarkCyan) << order << ": nothing below, y " << y;
    }
    // Wholly behind the eye: nothing at all.
    const Level behind{{{0, -10, 1}, {0, -5, -1}}, {}, {{0, 1}}};
    const Bitmap empty = draw(eyeAtOrigin(), {&behind, {}});
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            ASSERT_NE(empty.pixel(x, y), kDarkCyan) << x << "," << y;
}

TEST(LevelPixels, twoRooms_everyEdgeDrawnInDarkCyanBehindThePath) {
    const auto rooms = readLevel(testdata::text("tworooms.jkl"));
    ASSERT_TRUE(rooms.ok) << rooms.reason;
    const Camera camera = startCamera();
    // An entry right on the corner of the floor the first edge starts from.
    EntryTable table(1);
    table.row(0) = {"0", "0", "1", "-6", "-3", "0", "0", "0", "0"};
    const Bitmap bitmap = draw(camera, {&rooms.value, {}}, table, 1);
    for (const Edge& edge : rooms.value.edges) {
        const Pixel start = *ProjectPoint(kCx, kCy, camera, rooms.value.vertices[edge.from]);
        const Rgb expected = edge.from == 0 ? kRed : kDarkCyan;
        EXPECT_EQ(bitmap.pixel(start.x, start.y), expected)
            << "edge " << edge.from << "-" << edge.to;
    }
}

} // namespace
} // namespace skyvane
