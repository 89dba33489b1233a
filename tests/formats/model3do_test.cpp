// The 3DO model reader over a cube carrying a fin on a second node: geometry, hierarchy and
// edges, the layouts the game also accepts, and bad files refused at the line at fault.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>

#include "formats/model3do.h"
#include "testdata.h"

namespace skyvane {

bool operator==(const Mesh3do& a, const Mesh3do& b) {
    return a.name == b.name && a.vertices == b.vertices && a.faces == b.faces && a.edges == b.edges;
}
bool operator==(const HierarchyNode& a, const HierarchyNode& b) {
    return a.name == b.name && a.mesh == b.mesh && a.parent == b.parent &&
           a.position == b.position && a.rotation == b.rotation && a.pivot == b.pivot;
}

namespace {

using testdata::cutBefore;
using testdata::edited;
using testdata::lineOf;

const std::string kCube = testdata::text("cube.3do");

std::string line(std::size_t number, const std::string& why) {
    return "line " + std::to_string(number) + ": " + why;
}

// A one-triangle model whose vertex and face lines carry the light value `light` of the
// given file version.
std::string triangleModel(const std::string& version, const std::string& light, int geosets = 1) {
    std::string text = "SECTION: HEADER\n3DO " + version +
                       "\nSECTION: MODELRESOURCE\nMATERIALS 0\nSECTION: GEOMETRYDEF\n"
                       "RADIUS 1\nINSERT OFFSET 0 0 0\nGEOSETS " +
                       std::to_string(geosets) + "\n";
    for (int g = 0; g < geosets; ++g)
        text += "GEOSET " + std::to_string(g) + "\nMESHES 1\nMESH 0\nNAME tri" + std::to_string(g) +
                "\nRADIUS 1\nGEOMETRYMODE 4\nLIGHTINGMODE 3\nTEXTUREMODE 3\nVERTICES 3\n"
                "0: 0 0 0 " +
                light + "\n1: " + std::to_string(g + 1) + " 0 0 " + light + "\n2: 0 1 0 " + light +
                "\nTEXTURE VERTICES 0\nVERTEX NORMALS\n"
                "0: 0 0 1\n1: 0 0 1\n2: 0 0 1\nFACES 1\n0: -1 0x0 4 3 3 " +
                light + " 3 0,0 1,0 2,0\nFACE NORMALS\n0: 0 0 1\n";
    return text + "SECTION: HIERARCHYDEF\nHIERARCHY NODES 1\n"
                  "0: 0x0 0x1 0 -1 -1 -1 0 0 0 0 0 0 0 0 0 0 tri\n";
}

TEST(Model3do, cube_readsMeshesHierarchyAndEdges) {
    const auto result = read3doModel(kCube);
    ASSERT_TRUE(result.ok) << result.reason;
    const Model3do& model = result.value;

    const std::vector<Vec3f> corners{
        {-0.5f, -0.5f, -0.5f}, {0.5f, -0.5f, -0.5f}, {0.5f, 0.5f, -0.5f}, {-0.5f, 0.5f, -0.5f},
        {-0.5f, -0.5f, 0.5f},  {0.5f, -0.5f, 0.5f},  {0.5f, 0.5f, 0.5f},  {-0.5f, 0.5f, 0.5f}};
    const std::vector<Polygon> sides{{3, 2, 1, 0}, {4, 5, 6, 7}, {0, 1, 5, 4},
                                     {1, 2, 6, 5}, {2, 3, 7, 6}, {3, 0, 4, 7}};
    const std::vector<Edge> cubeEdges{{0, 1}, {0, 3}, {0, 4}, {1, 2}, {1, 5}, {2, 3},
                                      {2, 6}, {3, 7}, {4, 5}, {4, 7}, {5, 6}, {6, 7}};
    ASSERT_EQ(model.meshes.size(), 2u);
    const Mesh3do& body = model.meshes[0];
    EXPECT_EQ(body.name, "body");
    EXPECT_EQ(body.vertices, corners);
    EXPECT_EQ(body.faces, sides);
    EXPECT_EQ(body.edges, cubeEdges);
    const Mesh3do& fin = model.meshes[1];
    EXPECT_EQ(fin.name, "fin");
    EXPECT_EQ(fin.vertices, (std::vector<Vec3f>{{0, -0.25f, 0}, {0, 0.25f, 0}, {0, -0.25f, 0.5f}}));
    EXPECT_EQ(fin.faces, (std::vector<Polygon>{{0, 1, 2}}));
    EXPECT_EQ(fin.edges, (std::vector<Edge>{{0, 1}, {0, 2}, {1, 2}}));

    const HierarchyNode root{"body", 0, -1, {}, {}, {}};
    const HierarchyNode finNode{"fin", 1, 0, {0.0f, -0.25f, 0.5f}, {}, {0.0f, 0.25f, 0.0f}};
    ASSERT_EQ(model.nodes.size(), 2u);
    EXPECT_TRUE(model.nodes[0] == root);
    EXPECT_TRUE(model.nodes[1] == finNode);
}

TEST(Model3do, layoutsTheGameAlsoAccepts_readTheSame) {
    std::string lowerCase = kCube;
    std::transform(lowerCase.begin(), lowerCase.end(), lowerCase.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    const std::pair<const char*, std::string> variants[] = {
        {"CR LF line ends", testdata::withCrLf(kCube)},
        {"keywords in lower case", lowerCase},
        {"comments after values",
         edited(edited(kCube, "VERTICES 8", "VERTICES 8 # corners"), "MESHES 2", "MESHES 2#two")},
        {"a line starting with ;", edited(kCube, "GEOSETS 1", "; one set\nGEOSETS 1")},
        {"lines of blanks", edited(kCube, "MESH 1\n", "MESH 1\n \t \n")},
        {"fields after the needed ones", edited(kCube, "RADIUS   1.000000", "RADIUS 1 2 3")},
        {"tabs and commas between fields",
         edited(edited(kCube, "NAME body", "NAME\tbody"), "INSERT OFFSET   0.000000   0.000000",
                "INSERT OFFSET 0,0")},
    };
    const auto expected = read3doModel(kCube);
    for (const auto& [name, text] : variants) {
        const auto result = read3doModel(text);
        ASSERT_TRUE(result.ok) << name << ": " << result.reason;
        EXPECT_TRUE(result.value.meshes == expected.value.meshes) << name;
        EXPECT_TRUE(result.value.nodes == expected.value.nodes) << name;
    }
}

TEST(Model3do, lightValuesOfEachVersion_leaveTheCornersInPlace) {
    const std::pair<const char*, const char*> versions[] = {
        {"2.1", "0.5"}, {"2.2", "0.1 0.2 0.3"}, {"2.3", "0.1 0.2 0.3 1.0"}};
    for (const auto& [version, light] : versions) {
        const auto result = read3doModel(triangleModel(version, light));
        ASSERT_TRUE(result.ok) << version << ": " << result.reason;
        EXPECT_EQ(result.value.meshes.at(0).faces, (std::vector<Polygon>{{0, 1, 2}})) << version;
        EXPECT_EQ(result.value.meshes[0].vertices.at(1), (Vec3f{1, 0, 0})) << version;
    }
}

TEST(Model3do, furtherGeometrySets_areLowerDetailAndNotKept) {
    const auto result = read3doModel(triangleModel("2.1", "0", 3));
    ASSERT_TRUE(result.ok) << result.reason;
    ASSERT_EQ(result.value.meshes.size(), 1u);
    EXPECT_EQ(result.value.meshes[0].name, "tri0");
}

TEST(Model3do, badFiles_areRefusedNamingTheLine) {
    const std::string endsBeforeHierarchy =
        cutBefore(kCube, "###############\nSECTION: HIERARCHYDEF");
    const std::size_t lastLine = static_cast<std::size_t>(
        std::count(endsBeforeHierarchy.begin(), endsBeforeHierarchy.end(), '\n'));
    const std::pair<std::string, std::string> cases[] = {
        {"", line(1, "the file ends before the \"SECTION:\" line")},
        {edited(kCube, "3DO 2.1", "KEY 2.1"),
         line(lineOf(kCube, "3DO 2.1"), "expected the \"3DO\" line, found \"KEY\"")},
        {endsBeforeHierarchy, line(lastLine, "the file ends before the \"SECTION:\" line")},
        {edited(kCube, "VERTICES 3", "VERTEXES 3"),
         line(lineOf(kCube, "VERTICES 3"), "expected the \"VERTICES\" line, found \"VERTEXES\"")},
        {edited(kCube, "VERTICES 3", "VERTICES 4"),
         line(lineOf(kCube, "TEXTURE VERTICES 1"),
              "expected vertex 3 of mesh 1, found \"TEXTURE\"")},
        {edited(kCube, "MESHES 2", "MESHES -1"),
         line(lineOf(kCube, "MESHES 2"), "the count -1 is below 0")},
        {edited(kCube, "1:   0.000000   0.250000", "1:   0.000000   0.25e+x"),
         line(lineOf(kCube, "1:   0.000000   0.250000"), "\"0.25e+x\" is not a number")},
        {edited(kCube, "2:   0.000000  -0.250000   0.500000", "2:   0.000000  -0.250000   5e99"),
         line(lineOf(kCube, "2:   0.000000  -0.250000   0.500000"),
              "\"5e99\" is beyond the range of a 32-bit float")},
        {edited(kCube, "6,  2   5,  3", "9,  2   5,  3"),
         line(lineOf(kCube, "6,  2   5,  3"), "face 3 of mesh 0 uses vertex 9 of 8")},
        {edited(kCube, "3    0,  0   1,  0   2,  0", "0    0,  0   1,  0   2,  0"),
         line(lineOf(kCube, "3    0,  0   1,  0   2,  0"), "face 0 of mesh 1 has 0 corners")},
        {edited(kCube, "3    0,  0   1,  0   2,  0", "3    0,  0   1,  0"),
         line(lineOf(kCube, "3    0,  0   1,  0   2,  0"),
              "face 0 of mesh 1 lists fewer than its 3 corners")},
        {edited(kCube, "0x00001        1        0", "0x00001        2        0"),
         line(lineOf(kCube, "0x00001        1        0"), "hierarchy node 1 shows mesh 2 of 2")},
        {edited(kCube, "1        0      -1", "1        2      -1"),
         line(lineOf(kCube, "1        0      -1"), "hierarchy node 1 has parent 2 of 2 nodes")},
        {edited(kCube, "0       -1       1", "0        1       1"),
         line(lineOf(kCube, "0       -1       1"),
              "the parents of hierarchy node 0 run in a circle")},
        {triangleModel("2.1", "0.1 0.2 0.3"),
         line(lineOf(triangleModel("2.1", "0.1 0.2 0.3"), "0: -1 0x0"),
              "\"0.2\" is not a whole number")},
    };
    for (const auto& [text, reason] : cases) {
        const auto result = read3doModel(text);
        EXPECT_FALSE(result.ok) << reason;
        EXPECT_EQ(result.reason, reason);
    }
}

TEST(Model3do, fromFile_readsItOrGivesTheFileError) {
    EXPECT_TRUE(read3doModelFile(testdata::path("cube.3do")).ok);
    const auto missing = read3doModelFile(testdata::path("no such model.3do"));
    EXPECT_FALSE(missing.ok);
    EXPECT_NE(missing.reason.find("Cannot read file"), std::string::npos) << missing.reason;
}

} // namespace
} // namespace skyvane
