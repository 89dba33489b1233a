// The level reader over two rooms joined by an open wall: world vertices, surfaces and the
// edges drawn once, the layouts the game also accepts, and bad levels refused at the line.
#include <gtest/gtest.h>

#include <algorithm>

#include "formats/level.h"
#include "testdata.h"

namespace skyvane {
namespace {

using testdata::edited;
using testdata::lineOf;

const std::string kRooms = testdata::text("tworooms.jkl");

std::string line(std::size_t number, const std::string& why) {
    return "line " + std::to_string(number) + ": " + why;
}

TEST(Level, twoRooms_readVerticesSurfacesAndEachEdgeOnce) {
    const auto result = readLevel(kRooms);
    ASSERT_TRUE(result.ok) << result.reason;
    const Level& level = result.value;

    const std::vector<Vec3f> vertices{{-6, -3, 0}, {0, -3, 0}, {0, 3, 0},  {-6, 3, 0},
                                      {-6, -3, 3}, {0, -3, 3}, {0, 3, 3},  {-6, 3, 3},
                                      {6, -3, 0},  {6, 3, 0},  {6, -3, 3}, {6, 3, 3}};
    EXPECT_EQ(level.vertices, vertices);
    // Room one, with its open wall last; then room two, whose open wall mirrors it.
    const std::vector<Polygon> surfaces{
        {0, 3, 2, 1}, {4, 5, 6, 7},   {0, 1, 5, 4},  {2, 3, 7, 6},  {3, 0, 4, 7},   {1, 2, 6, 5},
        {1, 2, 9, 8}, {5, 10, 11, 6}, {1, 8, 10, 5}, {9, 2, 6, 11}, {8, 9, 11, 10}, {2, 1, 5, 6}};
    EXPECT_EQ(level.surfaces, surfaces);
    // Twelve edges per box, the four around the open wall shared.
    const std::vector<Edge> edges{{0, 1}, {0, 3},  {0, 4}, {1, 2},  {1, 5},  {1, 8},  {2, 3},
                                  {2, 6}, {2, 9},  {3, 7}, {4, 5},  {4, 7},  {5, 6},  {5, 10},
                                  {6, 7}, {6, 11}, {8, 9}, {8, 10}, {9, 11}, {10, 11}};
    EXPECT_EQ(level.edges, edges);
}

TEST(Level, layoutsTheGameAlsoAccepts_readTheSame) {
    std::string upperCase = kRooms;
    std::transform(upperCase.begin(), upperCase.end(), upperCase.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    const std::pair<const char*, std::string> variants[] = {
        {"CR LF line ends", testdata::withCrLf(kRooms)},
        {"everything in upper case", upperCase},
        {"comments and spaces", edited(edited(kRooms, "World vertices 12", "World  vertices 12 #"),
                                       "0:\t-6.000000", "# first\n  0:  -6.000000")},
        {"no sectors and nothing after the surfaces",
         testdata::cutBefore(kRooms, "#--- Surface normals")},
    };
    const auto expected = readLevel(kRooms);
    for (const auto& [name, text] : variants) {
        const auto result = readLevel(text);
        ASSERT_TRUE(result.ok) << name << ": " << result.reason;
        EXPECT_EQ(result.value.vertices, expected.value.vertices) << name;
        EXPECT_EQ(result.value.surfaces, expected.value.surfaces) << name;
    }
}

TEST(Level, badLevels_areRefusedNamingTheLine) {
    const std::string noGeometry = testdata::cutBefore(kRooms, "SECTION: GEORESOURCE");
    const std::size_t lastLine =
        static_cast<std::size_t>(std::count(noGeometry.begin(), noGeometry.end(), '\n'));
    const std::pair<std::string, std::string> cases[] = {
        {noGeometry, line(lastLine, "the file ends without a \"SECTION: GEORESOURCE\" line")},
        {edited(kRooms, "World vertices 12", "World vertices 13"),
         line(lineOf(kRooms, "World texture vertices"), "expected vertex 12, found \"World\"")},
        {edited(kRooms, "World texture vertices 1", "World textures 1"),
         line(lineOf(kRooms, "World texture vertices 1"),
              "expected the \"World texture vertices\" line, found \"World textures 1\"")},
        {edited(kRooms, "11:\t6.000000\t3.000000", "11:\t6.000000\tthree"),
         line(lineOf(kRooms, "11:\t6.000000\t3.000000"), "\"three\" is not a number")},
        {edited(kRooms, "4\t8,0\t9,0", "4\t12,0\t9,0"),
         line(lineOf(kRooms, "4\t8,0\t9,0"), "surface 10 uses vertex 12 of 12")},
        {edited(kRooms, "4\t4,0\t5,0\t6,0\t7,0", "2\t4,0\t5,0"),
         line(lineOf(kRooms, "4\t4,0\t5,0\t6,0\t7,0"), "surface 1 has 2 corners")},
        {edited(kRooms, "4\t4,0\t5,0\t6,0\t7,0\t1.0000\t1.0000\t1.0000\t1.0000", "4\t4,0\t5,0"),
         line(lineOf(kRooms, "4\t4,0\t5,0\t6,0\t7,0"), "surface 1 lists fewer than its 4 corners")},
        {edited(kRooms, "\t4\t4,0\t5,0\t6,0\t7,0\t1.0000\t1.0000\t1.0000\t1.0000", ""),
         line(lineOf(kRooms, "4\t4,0\t5,0\t6,0\t7,0"), "surface 1 needs 10 fields, found 9")},
        {testdata::cutBefore(kRooms, "11:\t-1\t0x0"),
         line(lineOf(kRooms, "11:\t-1\t0x0") - 1, "the file ends before surface 11")},
    };
    for (const auto& [text, reason] : cases) {
        const auto result = readLevel(text);
        EXPECT_FALSE(result.ok) << reason;
        EXPECT_EQ(result.reason, reason);
    }
}

} // namespace
} // namespace skyvane
