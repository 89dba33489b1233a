// The preview's picture without a window: camera, keys, projection, GDI-style raster rules and
// the drawing of grid, entries and heading.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>
#include <utility>

#include "preview/scene.h"

namespace skyvane {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int kCx = 220; // centre of a 440 x 439 picture
constexpr int kCy = 220;

Camera withZoom(float zoom) {
    Camera camera = startCamera();
    camera.Zoom = zoom;
    return camera;
}

double degrees(float radians) {
    return radians * 180.0 / kPi;
}

// --- camera -------------------------------------------------------------------------------

TEST(Camera, startState_standsSouthOfTheOriginLookingNorthAndSlightlyDown) {
    const Camera camera = startCamera();
    EXPECT_NEAR(camera.Position.x, 0.0, 1e-5);
    EXPECT_NEAR(camera.Position.y, -49.384, 5e-4);
    EXPECT_NEAR(camera.Position.z, 7.822, 5e-4);
    EXPECT_NEAR(camera.Heading.x, 0.0, 1e-6);
    EXPECT_NEAR(camera.Heading.y, 0.988, 5e-4);
    EXPECT_NEAR(camera.Heading.z, -0.156, 5e-4);
    EXPECT_NEAR(camera.Side.x, 1.0, 1e-6);
    EXPECT_NEAR(camera.Side.y, 0.0, 1e-6);
    EXPECT_FLOAT_EQ(camera.Zoom, 1.0f);
}

// --- projection ---------------------------------------------------------------------------

struct ProjectionCase {
    float zoom;
    Vec3f point;
    Pixel expected;
};

TEST(ProjectPoint, examplesOfTheStartCamera) {
    const ProjectionCase cases[] = {
        {1.0f, {0, 0, 0}, {220, 220}},  {1.0f, {1, 0, 0}, {245, 220}},
        {1.0f, {0, 0, 1}, {220, 195}},  {2.0f, {1, 0, 0}, {271, 220}},
        {0.1f, {1, 0, 0}, {223, 220}},  {1.0f, {-1, 0, 0}, {195, 220}},
        {10.0f, {0, 0, 0}, {220, 220}},
    };
    for (const auto& c : cases) {
        const auto pixel = ProjectPoint(kCx, kCy, withZoom(c.zoom), c.point);
        ASSERT_TRUE(pixel) << c.zoom;
        EXPECT_EQ(pixel->x, c.expected.x) << "zoom " << c.zoom << " x " << c.point.x;
        EXPECT_EQ(pixel->y, c.expected.y) << "zoom " << c.zoom << " z " << c.point.z;
    }
}

TEST(ProjectPoint, pointStraightAhead_landsOnTheCentreAtEveryZoom) {
    Camera camera = startCamera();
    for (float zoom : {0.1f, 1.0f, 3.0f, 10.0f}) {
        camera.Zoom = zoom;
        EXPECT_EQ(ProjectPoint(7, 9, camera, camera.Focus), (Pixel{7, 9}));
    }
}

TEST(ProjectPoint, farOffToTheSide_staysWithin2000TimesZoom) {
    for (float zoom : {0.1f, 1.0f, 10.0f}) {
        const Camera camera = withZoom(zoom);
        const Vec3f eye = camera.Position;
        for (const Vec3f point :
             {Vec3f{1e30f, eye.y, eye.z}, Vec3f{-1e30f, eye.y, eye.z}, Vec3f{0, 1, 1e30f}}) {
            const auto pixel = ProjectPoint(0, 0, camera, point);
            ASSERT_TRUE(pixel);
            EXPECT_LE(std::abs(pixel->x), 2000 * zoom);
            EXPECT_LE(std::abs(pixel->y), 2000 * zoom);
        }
        EXPECT_EQ(std::abs(ProjectPoint(0, 0, camera, {1e30f, eye.y, eye.z})->x), 2000 * zoom);
    }
}

TEST(ProjectPoint, pointBehindTheEye_landsMirroredThroughTheCentre) {
    const Camera camera = startCamera();
    // One unit right of the eye and ten units behind it.
    const Vec3f behindRight{camera.Position.x + 1.0f, camera.Position.y - 10.0f, camera.Position.z};
    const auto pixel = ProjectPoint(kCx, kCy, camera, behindRight);
    ASSERT_TRUE(pixel);
    EXPECT_LT(pixel->x, kCx - 100);
}

TEST(ProjectPoint, pointInThePlaneOfTheEye_hasNoPixel) {
    Camera camera;
    camera.Position = {0, 0, 0};
    camera.Heading = {0, 1, 0};
    camera.Side = {1, 0};
    camera.Up = {0, 0, 1};
    EXPECT_FALSE(ProjectPoint(kCx, kCy, camera, {5, 0, 3}));
    EXPECT_TRUE(ProjectPoint(kCx, kCy, camera, {5, 1e-6f, 3}));
}

TEST(ProjectPoint, depthBeyondThe32BitRange_hasNoPixel) {
    EXPECT_FALSE(ProjectPoint(kCx, kCy, startCamera(), {0, 3.4e38f, -3.4e38f}));
}

// --- raster rules -------------------------------------------------------------------------

using PixelSet = std::set<std::pair<int, int>>;

PixelSet penPixels(const Bitmap& bitmap, Rgb pen) {
    PixelSet lit;
    for (int y = 0; y < bitmap.height(); ++y)
        for (int x = 0; x < bitmap.width(); ++x)
            if (bitmap.pixel(x, y) == pen)
                lit.insert({x, y});
    return lit;
}

PixelSet line(Pixel from, Pixel to) {
    Bitmap bitmap(10, 10);
    bitmap.setPen(kRed);
    bitmap.moveTo(from);
    bitmap.lineTo(to);
    return penPixels(bitmap, kRed);
}

TEST(Bitmap, lineTo_drawsItsFirstPixelNotItsLastAndBreaksTiesUpOrLeft) {
    struct Case {
        Pixel from, to;
        PixelSet expected;
    };
    const Case cases[] = {
        {{2, 5}, {6, 5}, {{2, 5}, {3, 5}, {4, 5}, {5, 5}}},
        {{6, 5}, {2, 5}, {{6, 5}, {5, 5}, {4, 5}, {3, 5}}},
        {{0, 0}, {3, 3}, {{0, 0}, {1, 1}, {2, 2}}},
        {{0, 0}, {4, 2}, {{0, 0}, {1, 0}, {2, 1}, {3, 1}}},
        {{4, 2}, {0, 0}, {{4, 2}, {3, 1}, {2, 1}, {1, 0}}},
        {{0, 2}, {4, 0}, {{0, 2}, {1, 1}, {2, 1}, {3, 0}}},
        {{0, 0}, {1, 2}, {{0, 0}, {0, 1}}},
        {{0, 0}, {1, 3}, {{0, 0}, {0, 1}, {1, 2}}},
        {{3, 3}, {3, 3}, {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(line(c.from, c.to), c.expected)
            << c.from.x << "," << c.from.y << " -> " << c.to.x << "," << c.to.y;
}

TEST(Bitmap, lineTo_farOutsideTheBitmap_drawsOnlyWhatLiesOnIt) {
    PixelSet row;
    for (int x = 0; x < 10; ++x)
        row.insert({x, 5});
    EXPECT_EQ(line({-100000, 5}, {100000, 5}), row);
    EXPECT_EQ(line({-100000, -3}, {100000, -3}), PixelSet{});
}

// The rule stated per step, in exact fractions: step i of a line of `length` steps lights the
// pixel whose main coordinate is start + i and whose other coordinate is the ideal line's,
// start + i * delta / length, rounded with an exact half to the upper or left pixel; the last
// pixel is left out.
long roundedHalfDown(long numerator, long denominator) { // denominator > 0
    long whole = numerator / denominator;
    const long rest = numerator % denominator;
    if (rest < 0) {
        --whole; // floor
        return 2 * (rest + denominator) > denominator ? whole + 1 : whole;
    }
    return 2 * rest > denominator ? whole + 1 : whole;
}

PixelSet ruleLine(Pixel from, Pixel to, int size) {
    PixelSet lit;
    const long dx = to.x - from.x, dy = to.y - from.y;
    const bool alongX = std::labs(dx) >= std::labs(dy);
    const long length = std::max(std::labs(dx), std::labs(dy));
    for (long i = 0; i < length; ++i) {
        const long x =
            alongX ? from.x + (dx > 0 ? i : -i) : from.x + roundedHalfDown(i * dx, length);
        const long y =
            alongX ? from.y + roundedHalfDown(i * dy, length) : from.y + (dy > 0 ? i : -i);
        if (x >= 0 && y >= 0 && x < size && y < size)
            lit.insert({static_cast<int>(x), static_cast<int>(y)});
    }
    return lit;
}

TEST(Bitmap, lineTo_everyDirectionAndSlope_lightsThePixelsOfTheRule) {
    constexpr int kSize = 24;
    // Ends inside, on the border and off the bitmap, at every slope between them.
    const int ends[] = {-13, -1, 0, 3, 11, 12, 23, 24, 37};
    for (int x0 : ends)
        for (int y0 : {-5, 0, 7, 23, 30})
            for (int x1 : ends)
                for (int y1 : {-9, 2, 12, 23, 29}) {
                    Bitmap bitmap(kSize, kSize);
                    bitmap.setPen(kRed);
                    bitmap.moveTo({x0, y0});
                    bitmap.lineTo({x1, y1});
                    ASSERT_EQ(penPixels(bitmap, kRed), ruleLine({x0, y0}, {x1, y1}, kSize))
                        << x0 << "," << y0 << " to " << x1 << "," << y1;
                }
}

TEST(Bitmap, lineTo_continuesFromTheEndOfTheLastLine) {
    Bitmap bitmap(10, 10);
    bitmap.setPen(kRed);
    bitmap.moveTo({1, 1});
    bitmap.lineTo({4, 1});
    bitmap.lineTo({4, 3});
    EXPECT_EQ(penPixels(bitmap, kRed), (PixelSet{{1, 1}, {2, 1}, {3, 1}, {4, 1}, {4, 2}}));
}

TEST(Bitmap, rectangle_outlinesWithPenFillsWithBrushRightAndBottomExclusive) {
    Bitmap bitmap(10, 10);
    const Rgb white{255, 255, 255};
    bitmap.fill(white);
    bitmap.setPen(kGreen);
    bitmap.setBrush(kBlack);
    bitmap.rectangle({3, 3}, {7, 7});
    EXPECT_EQ(penPixels(bitmap, kBlack), (PixelSet{{4, 4}, {4, 5}, {5, 4}, {5, 5}}));
    EXPECT_EQ(penPixels(bitmap, kGreen).size(), 12u);
    EXPECT_EQ(bitmap.pixel(3, 3), kGreen);
    EXPECT_EQ(bitmap.pixel(6, 6), kGreen);
    EXPECT_EQ(bitmap.pixel(7, 7), white);
    EXPECT_EQ(bitmap.pixel(7, 3), white);
    EXPECT_EQ(bitmap.pixel(3, 7), white);
}

// --- drawing ------------------------------------------------------------------------------

// Entry cells in the order Frame, Steps, X, Y, Z, Pitch, Yaw, Roll.
void setEntry(EntryTable& table, int entry, const std::array<const char*, 8>& cells) {
    for (int c = 0; c < 8; ++c)
        table.setCell(c + 1, entry, cells[static_cast<std::size_t>(c)]);
}

Bitmap draw(const EntryTable& table, int count, int highlighted, const Camera& camera) {
    return DrawScene(440, 439, camera, SceneEntries{table, count, highlighted});
}

TEST(DrawScene, emptyTable_drawsTheNavyGridOnBlack) {
    const EntryTable table(kMaxEntries);
    const Bitmap bitmap = draw(table, 0, 0, startCamera());
    EXPECT_EQ(bitmap.pixel(kCx, kCy), kNavy); // lines x = 0 and y = 0 cross at the focus
    EXPECT_EQ(bitmap.pixel(245, 220), kNavy); // x = 1 meets y = 0
    EXPECT_EQ(bitmap.pixel(kCx, 10), kBlack); // sky above the grid
    EXPECT_EQ(bitmap.pixel(233, kCy), kNavy); // along the line y = 0
    EXPECT_EQ(penPixels(bitmap, kGreen).size(), 0u);
    EXPECT_EQ(penPixels(bitmap, kRed).size(), 0u);
}

// With the start camera the lines y = const project to rows (y = -15 on row 305, y = 0 on
// row 220, y = 15 on row 174) and every line x = const starts on row 313 and ends before 172.
TEST(DrawScene, gridLines_runBetweenTheProjectionsOfTheirEnds) {
    const Bitmap bitmap = draw(EntryTable(kMaxEntries), 0, 0, startCamera());
    auto rowIs = [&](int y, Rgb colour) {
        for (int x = 0; x < bitmap.width(); ++x)
            if (bitmap.pixel(x, y) != colour)
                return false;
        return true;
    };
    EXPECT_TRUE(rowIs(305, kNavy));
    EXPECT_TRUE(rowIs(220, kNavy));
    EXPECT_TRUE(rowIs(174, kNavy));
    // The border lines at +-16 are not drawn; the x lines stop short of their far ends.
    EXPECT_TRUE(rowIs(314, kBlack));
    EXPECT_TRUE(rowIs(172, kBlack));
    for (int y = 173; y <= 313; ++y)
        ASSERT_EQ(bitmap.pixel(kCx, y), kNavy) << y; // x = 0
    // x = 7 runs from (477, 313) to (355, 172): its last pixel is (356, 173).
    EXPECT_EQ(bitmap.pixel(356, 173), kNavy);
    EXPECT_EQ(bitmap.pixel(355, 172), kBlack);
}

TEST(DrawScene, entries_areGreenHollowSquaresAndTheHighlightedOneRedWithItsHeading) {
    EntryTable table(kMaxEntries);
    setEntry(table, 0, {"0", "1", "0", "0", "0", "0", "90", "0"}); // faces -X
    setEntry(table, 1, {"1", "1", "1", "0", "0", "0", "0", "0"});  // at (245, 220)
    const Bitmap bitmap = draw(table, 2, 0, startCamera());
    // Entry 1: x 243..246, y 218..221, outline green, inside black over the grid line.
    EXPECT_EQ(bitmap.pixel(243, 218), kGreen);
    EXPECT_EQ(bitmap.pixel(246, 221), kGreen);
    EXPECT_EQ(bitmap.pixel(244, 219), kBlack);
    EXPECT_EQ(bitmap.pixel(245, 220), kBlack);
    EXPECT_EQ(bitmap.pixel(247, 220), kNavy);
    // Entry 0 highlighted: red 6 x 6 from 217 to 222.
    EXPECT_EQ(bitmap.pixel(217, 217), kRed);
    EXPECT_EQ(bitmap.pixel(222, 222), kRed);
    EXPECT_EQ(bitmap.pixel(223, 223), kBlack);
    // Its heading runs one unit towards -X: from the centre to (195, 220), end excluded.
    EXPECT_EQ(bitmap.pixel(210, 220), kRed);
    EXPECT_EQ(bitmap.pixel(196, 220), kRed);
    EXPECT_EQ(bitmap.pixel(195, 220), kNavy);
}

TEST(DrawScene, headingPitchedUp_pointsToTheTopOfThePicture) {
    EntryTable table(kMaxEntries);
    setEntry(table, 0, {"0", "1", "0", "0", "0", "90", "0", "0"});
    const Bitmap bitmap = draw(table, 1, 0, startCamera());
    EXPECT_EQ(bitmap.pixel(kCx, 200), kRed);
    EXPECT_EQ(bitmap.pixel(kCx, 196), kRed);
    EXPECT_EQ(bitmap.pixel(kCx, 195), kNavy); // the tip itself is left to the grid line x = 0
}

TEST(DrawScene, oneEntry_isDrawnGreenThenCoveredRed) {
    EntryTable table(kMaxEntries);
    setEntry(table, 0, {"0", "1", "1", "0", "0", "0", "0", "0"});
    const Bitmap bitmap = draw(table, 1, 0, startCamera());
    EXPECT_EQ(bitmap.pixel(243, 218), kRed);
    EXPECT_EQ(penPixels(bitmap, kGreen).size(), 0u);
}

TEST(DrawScene, zoomMovesEntriesAwayFromTheCentre) {
    EntryTable table(kMaxEntries);
    setEntry(table, 0, {"0", "1", "0", "0", "0", "0", "0", "0"});
    setEntry(table, 1, {"1", "1", "1", "0", "0", "0", "0", "0"});
    const Bitmap bitmap = draw(table, 2, 0, withZoom(2.0f));
    EXPECT_EQ(bitmap.pixel(269, 218), kGreen); // (1, 0, 0) at (271, 220)
}

TEST(DrawScene, unreadableOrUnprojectableEntries_areLeftOutAndThePictureIsComplete) {
    Camera camera;
    camera.Position = {0, 0, 0};
    camera.Heading = {0, 1, 0};
    camera.Side = {1, 0};
    camera.Up = {0, 0, 1};
    EntryTable table(kMaxEntries);
    setEntry(table, 0, {"0", "1", "abc", "0", "0", "0", "0", "0"});
    setEntry(table, 1, {"1", "1", "5", "0", "0", "0", "0", "0"});    // zero depth
    setEntry(table, 2, {"2", "1", "1e39", "9", "0", "0", "0", "0"}); // beyond 32 bits
    setEntry(table, 3, {"3", "1", "0", "10", "0", "0", "0", "0"});
    const Bitmap bitmap = draw(table, 4, 1, camera);
    EXPECT_EQ(bitmap.pixel(kCx - 2, kCy - 2), kGreen); // entry 3 straight ahead
    EXPECT_EQ(penPixels(bitmap, kRed).size(), 0u);
    EXPECT_GT(penPixels(bitmap, kNavy).size(), 100u);
}

TEST(DrawScene, highlightedLineToAnUnprojectableTip_isLeftOut) {
    Camera camera; // one unit above the origin, looking straight down
    camera.Position = {0, 0, 1};
    camera.Heading = {0, 0, -1};
    camera.Side = {1, 0};
    camera.Up = {0, 1, 0};
    EntryTable table(kMaxEntries);
    // Pitched straight up: the tip lies in the plane of the eye.
    setEntry(table, 0, {"0", "1", "0", "0", "0", "90", "0", "0"});
    const Bitmap bitmap = draw(table, 1, 0, camera);
    EXPECT_EQ(penPixels(bitmap, kRed).size(), 36u);
}

TEST(DrawScene, countBeyondTheTable_readsOnlyTheTable) {
    EntryTable table(3);
    setEntry(table, 2, {"2", "1", "0", "0", "0", "0", "0", "0"});
    const Bitmap bitmap = DrawScene(100, 80, startCamera(), SceneEntries{table, 5000, 9999});
    EXPECT_EQ(bitmap.pixel(50, 40), kRed);
}

TEST(DrawScene, centreRoundsHalvesToEven) {
    const EntryTable table(kMaxEntries);
    // W = 441 gives a centre of 220 (220.5 rounds to even), W = 443 gives 222.
    EXPECT_EQ(DrawScene(441, 439, startCamera(), {table, 0, 0}).pixel(220, 220), kNavy);
    EXPECT_EQ(DrawScene(443, 445, startCamera(), {table, 0, 0}).pixel(222, 222), kNavy);
}

TEST(DrawScene, emptyPicture_isHarmless) {
    const EntryTable table(kMaxEntries);
    EXPECT_EQ(DrawScene(0, 0, startCamera(), {table, 0, 0}).width(), 0);
    EXPECT_EQ(DrawScene(-5, 10, startCamera(), {table, 0, 0}).width(), 0);
}

// --- navigation ---------------------------------------------------------------------------

constexpr KeyModifiers kNone{};
constexpr KeyModifiers kShift{true, false, false};

void press(Camera& camera, NavKey key, KeyModifiers modifiers, int times) {
    for (int i = 0; i < times; ++i)
        navigate(camera, key, modifiers);
}

TEST(Navigate, eachKeyChangesItsReadOuts) {
    struct Case {
        NavKey key;
        KeyModifiers modifiers;
        unsigned readOuts;
    };
    const unsigned all = ReadOutX | ReadOutY | ReadOutZ | ReadOutU | ReadOutV | ReadOutW;
    const Case cases[] = {
        {NavKey::Up, kNone, ReadOutX | ReadOutY | ReadOutZ},
        {NavKey::Down, kNone, ReadOutX | ReadOutY | ReadOutZ},
        {NavKey::Left, kNone, ReadOutX | ReadOutY},
        {NavKey::Right, kNone, ReadOutX | ReadOutY},
        {NavKey::Up, kShift, all},
        {NavKey::Down, kShift, all},
        {NavKey::Left, kShift, ReadOutX | ReadOutY | ReadOutU | ReadOutV},
        {NavKey::Right, kShift, ReadOutX | ReadOutY | ReadOutU | ReadOutV},
        {NavKey::ZoomIn, kNone, ReadOutZoom},
        {NavKey::ZoomOut, kShift, ReadOutZoom},
        {NavKey::ZoomIn, {false, true, true}, ReadOutZoom},
        {NavKey::Up, {false, true, false}, ReadOutNone},
        {NavKey::Left, {false, false, true}, ReadOutNone},
        {NavKey::Right, {true, true, false}, ReadOutNone},
        {NavKey::Down, {true, false, true}, ReadOutNone},
    };
    for (const auto& c : cases) {
        Camera camera = startCamera();
        EXPECT_EQ(navigate(camera, c.key, c.modifiers), c.readOuts)
            << static_cast<int>(c.key) << " shift " << c.modifiers.shift;
    }
}

TEST(Navigate, refusedModifiers_leaveTheCameraAlone) {
    Camera camera = startCamera();
    navigate(camera, NavKey::Up, {false, true, false});
    navigate(camera, NavKey::Left, {true, false, true});
    const Camera start = startCamera();
    EXPECT_EQ(camera.Focus.y, start.Focus.y);
    EXPECT_EQ(camera.Azimuth, start.Azimuth);
    EXPECT_EQ(camera.Position.z, start.Position.z);
}

TEST(Navigate, up_movesTheFocusAlongUp) {
    Camera camera = startCamera();
    navigate(camera, NavKey::Up, kNone);
    EXPECT_NEAR(camera.Focus.x, 0.0, 1e-6);
    EXPECT_NEAR(camera.Focus.y, 0.156, 5e-4);
    EXPECT_NEAR(camera.Focus.z, 0.988, 5e-4);
    EXPECT_NEAR(camera.Position.y, -49.228, 5e-4);
    EXPECT_NEAR(camera.Position.z, 8.809, 5e-4);
    navigate(camera, NavKey::Down, kNone);
    EXPECT_NEAR(camera.Position.y, -49.384, 5e-4);
    EXPECT_NEAR(camera.Position.z, 7.822, 5e-4);
}

TEST(Navigate, leftAndRight_moveHorizontallyAlongSide) {
    Camera camera = startCamera();
    press(camera, NavKey::Left, kNone, 3);
    EXPECT_NEAR(camera.Focus.x, -3.0, 1e-5);
    EXPECT_NEAR(camera.Position.x, -3.0, 1e-5);
    EXPECT_EQ(camera.Focus.z, 0.0f);
    navigate(camera, NavKey::Right, kNone);
    EXPECT_NEAR(camera.Focus.x, -2.0, 1e-5);
}

TEST(Navigate, shiftUpNineTimes_looksStraightDown) {
    Camera camera = startCamera();
    press(camera, NavKey::Up, kShift, 9);
    EXPECT_NEAR(degrees(camera.Elevation), 90.0, 1e-4);
    EXPECT_NEAR(camera.Heading.z, -1.0, 1e-6);
    EXPECT_NEAR(camera.Position.z, 50.0, 1e-4);
    // Once more and the camera is past the top: the picture is upside down.
    navigate(camera, NavKey::Up, kShift);
    EXPECT_NEAR(degrees(camera.Elevation), 99.0, 1e-4);
    EXPECT_LT(camera.Up.z, 0.0f);
    EXPECT_GT(camera.Position.y, 0.0f);
}

TEST(Navigate, elevation_runsThroughTheWholeCircle) {
    Camera camera = startCamera();
    navigate(camera, NavKey::Down, kShift);
    EXPECT_NEAR(camera.Elevation, 0.0, 1e-6);
    EXPECT_NEAR(camera.Position.z, 0.0, 1e-4);
    navigate(camera, NavKey::Down, kShift);
    EXPECT_NEAR(degrees(camera.Elevation), 351.0, 1e-4);
    EXPECT_LT(camera.Position.z, 0.0f);
    press(camera, NavKey::Up, kShift, 2);
    EXPECT_NEAR(degrees(camera.Elevation), 9.0, 1e-4);
    press(camera, NavKey::Up, kShift, 40);
    EXPECT_NEAR(degrees(camera.Elevation), 9.0, 1e-3);
}

TEST(Navigate, azimuth_wrapsAndComesBackToTheStartPicture) {
    Camera camera = startCamera();
    // Six steps end a hair below a full turn, the seventh wraps.
    press(camera, NavKey::Right, kShift, 7);
    EXPECT_NEAR(degrees(camera.Azimuth), 15.0, 1e-4);
    press(camera, NavKey::Left, kShift, 2);
    EXPECT_NEAR(degrees(camera.Azimuth), 345.0, 1e-4);
    EXPECT_NEAR(camera.Side.y, std::cos(345.0 * kPi / 180), 1e-6);

    Camera circled = startCamera();
    press(circled, NavKey::Left, kShift, 24);
    EXPECT_NEAR(circled.Azimuth, 3 * kPi / 2, 1e-5);
    EXPECT_EQ(circled.Elevation, startCamera().Elevation);
    const EntryTable table(kMaxEntries);
    const Bitmap before = draw(table, 0, 0, startCamera());
    const Bitmap after = draw(table, 0, 0, circled);
    EXPECT_EQ(penPixels(after, kNavy), penPixels(before, kNavy));
}

TEST(Navigate, zoomLadder_walksTheTwentyValuesExactly) {
    const float ladder[] = {0.1f, 0.2f, 0.3f, 0.4f, 0.5f, 0.6f, 0.7f, 0.8f, 0.9f, 1.0f,
                            2.0f, 3.0f, 4.0f, 5.0f, 6.0f, 7.0f, 8.0f, 9.0f, 10.0f};
    constexpr std::size_t n = std::size(ladder);
    for (std::size_t i = 0; i + 1 < n; ++i) {
        EXPECT_EQ(zoomIn(ladder[i]), ladder[i + 1]) << ladder[i];
        EXPECT_EQ(zoomOut(ladder[i + 1]), ladder[i]) << ladder[i + 1];
    }
    EXPECT_EQ(zoomIn(10.0f), 10.0f);
    EXPECT_EQ(zoomOut(0.1f), 0.1f);
}

// Above 10, where framing puts the camera, the keys walk the closer rungs and come back to 10.
TEST(Navigate, closeZoomRungs_areWalkedByTheKeysBackTo10) {
    const std::vector<float> ladder = zoomLadder();
    const std::vector<float> close(ladder.begin() + 18, ladder.end());
    EXPECT_EQ(close, (std::vector<float>{10, 20, 50, 100, 200, 500, 1000}));
    for (std::size_t i = 1; i < close.size(); ++i)
        EXPECT_EQ(zoomOut(close[i]), close[i - 1]) << close[i];
    for (std::size_t i = 1; i < close.size(); ++i)
        EXPECT_EQ(zoomIn(close[i]), close[std::min(i + 1, close.size() - 1)]) << close[i];
}

TEST(Navigate, zoomKeys_landOnLadderValuesAfterAnyMix) {
    Camera camera = startCamera();
    press(camera, NavKey::ZoomIn, kNone, 10);
    EXPECT_EQ(camera.Zoom, 10.0f);
    int presses = 0;
    while (camera.Zoom > 0.1f && presses < 100) {
        navigate(camera, NavKey::ZoomOut, kNone);
        ++presses;
    }
    EXPECT_EQ(presses, 18);
    EXPECT_EQ(camera.Zoom, 0.1f);
    press(camera, NavKey::ZoomIn, kShift, 9);
    navigate(camera, NavKey::ZoomOut, kShift);
    EXPECT_EQ(camera.Zoom, 0.9f);
    for (int i = 0; i < 7; ++i) {
        navigate(camera, NavKey::ZoomOut, kNone);
        navigate(camera, NavKey::ZoomIn, kNone);
        navigate(camera, NavKey::ZoomOut, kNone);
    }
    EXPECT_EQ(camera.Zoom, 0.2f);
}

// --- playback -----------------------------------------------------------------------------

// A flight along +X: entry 0 at the origin facing -X, entry 1 at (2, 0, 0) reached after
// Steps 1 but only at frame 4, so the object overshoots and jumps.
EntryTable overshootingPath() {
    EntryTable table(kMaxEntries);
    setEntry(table, 0, {"0", "1", "0", "0", "0", "0", "90", "0"});
    setEntry(table, 1, {"4", "1", "2", "0", "0", "0", "90", "0"});
    return table;
}

TEST(ScenePlayback, takesThePlayedValuesAndTheJumps) {
    const EntryTable table = overshootingPath();
    const ScenePlayback frame3 = scenePlayback(table, 2, 3);
    EXPECT_EQ(frame3.position.x, 6.0f);
    EXPECT_EQ(frame3.yaw, 90.0f);
    EXPECT_EQ(frame3.jumps, std::vector<int>{0});
    EXPECT_EQ(scenePlayback(table, 2, 4).position.x, 2.0f);
}

TEST(DrawScene, playback_drawsJumpsMagentaAndThePlayedObjectYellowOverAll) {
    const EntryTable table = overshootingPath();
    ScenePlayback playback = scenePlayback(table, 2, 0);
    playback.position = {1, 0, 0}; // at (245, 220)
    const Bitmap bitmap = DrawScene(440, 439, startCamera(), {table, 2, 1}, {}, &playback);
    // Entry 0 ends in a jump: magenta 6 x 6 at the centre; its heading is not drawn.
    EXPECT_EQ(bitmap.pixel(217, 217), kMagenta);
    EXPECT_EQ(bitmap.pixel(222, 222), kMagenta);
    EXPECT_EQ(bitmap.pixel(223, 223), kBlack);
    // The played object: yellow 6 x 6 and a line one unit towards -X, over the magenta square.
    EXPECT_EQ(bitmap.pixel(242, 217), kYellow);
    EXPECT_EQ(bitmap.pixel(247, 222), kYellow);
    EXPECT_EQ(bitmap.pixel(235, 220), kYellow);
    EXPECT_EQ(bitmap.pixel(221, 220), kYellow);
    EXPECT_EQ(bitmap.pixel(220, 221), kMagenta);
    // Entry 1 highlighted red at (271, 220) with its own heading line.
    EXPECT_EQ(bitmap.pixel(268, 217), kRed);
    EXPECT_EQ(bitmap.pixel(256, 220), kRed);
}

TEST(DrawScene, playback_jumpOnTheHighlightedEntry_isRingedAroundTheRedSquare) {
    const EntryTable table = overshootingPath();
    ScenePlayback playback = scenePlayback(table, 2, 0);
    playback.position = {0, 0, 5}; // out of the way, above the centre
    const Bitmap bitmap = DrawScene(440, 439, startCamera(), {table, 2, 0}, {}, &playback);
    EXPECT_EQ(bitmap.pixel(217, 217), kRed);
    for (const auto& [x, y] : {std::pair{215, 215}, {225, 215}, {225, 225}, {215, 225}, {220, 215}})
        EXPECT_EQ(bitmap.pixel(x, y), kMagenta) << x << ", " << y;
    EXPECT_EQ(bitmap.pixel(215, 220), kRed); // the heading line crosses the ring
    EXPECT_NE(bitmap.pixel(226, 226), kMagenta);
}

TEST(DrawScene, withoutPlayback_isThePictureOfTheEntriesAlone) {
    const EntryTable table = overshootingPath();
    const Bitmap plain = draw(table, 2, 1, startCamera());
    EXPECT_EQ(penPixels(plain, kYellow).size(), 0u);
    EXPECT_EQ(penPixels(plain, kMagenta).size(), 0u);
}

// --- mouse --------------------------------------------------------------------------------

void expectSameCamera(const Camera& a, const Camera& b) {
    EXPECT_EQ(a.Azimuth, b.Azimuth);
    EXPECT_EQ(a.Elevation, b.Elevation);
    EXPECT_EQ(a.Zoom, b.Zoom);
    for (const auto& [p, q] : {std::pair{a.Position, b.Position}, std::pair{a.Focus, b.Focus},
                               std::pair{a.Heading, b.Heading}, std::pair{a.Up, b.Up}}) {
        EXPECT_EQ(p.x, q.x);
        EXPECT_EQ(p.y, q.y);
        EXPECT_EQ(p.z, q.z);
    }
}

TEST(MouseCamera, orbitDrag_turnsHalfADegreePerPixelLikeTheKeys) {
    struct Case {
        const char* name;
        int dx, dy;
        NavKey key; // the key press that turns as far
    };
    const Case cases[] = {
        {"30 pixels right, the scene turning with the mouse", 30, 0, NavKey::Left},
        {"30 pixels left", -30, 0, NavKey::Right},
        {"18 pixels down", 0, 18, NavKey::Up},
        {"18 pixels up", 0, -18, NavKey::Down},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Camera dragged = startCamera();
        Camera keyed = startCamera();
        orbitByDrag(dragged, c.dx, c.dy);
        navigate(keyed, c.key, kShift);
        expectSameCamera(dragged, keyed);
    }
}

TEST(MouseCamera, orbitDrag_wrapsAsTheKeysDo) {
    Camera camera = startCamera();
    EXPECT_EQ(orbitByDrag(camera, 0, -20),
              ReadOutX | ReadOutY | ReadOutZ | ReadOutU | ReadOutV | ReadOutW);
    EXPECT_NEAR(degrees(camera.Elevation), 359.0, 1e-4);
    EXPECT_EQ(orbitByDrag(camera, 0, 4), ReadOutAll & ~ReadOutZoom);
    EXPECT_NEAR(degrees(camera.Elevation), 1.0, 1e-4);
    EXPECT_EQ(orbitByDrag(camera, -200, 0), ReadOutX | ReadOutY | ReadOutU | ReadOutV);
    EXPECT_NEAR(degrees(camera.Azimuth), 10.0, 1e-4);
    // A move of more than a whole turn still lands in range.
    orbitByDrag(camera, 1000, 1500);
    EXPECT_NEAR(degrees(camera.Azimuth), 230.0, 1e-3);
    EXPECT_NEAR(degrees(camera.Elevation), 31.0, 1e-3);
    EXPECT_EQ(orbitByDrag(camera, 0, 0), ReadOutNone);
}

TEST(MouseCamera, panDrag_keepsThePointUnderTheCursorAtTheFocusDistance) {
    struct Case {
        float zoom;
        int elevationPresses;
        Pixel from, to;
    };
    const Case cases[] = {
        {1.0f, 0, {220, 220}, {260, 190}},
        {1.0f, 0, {300, 120}, {100, 400}},
        {4.0f, 3, {220, 220}, {200, 260}},
        {0.3f, 12, {50, 60}, {400, 380}},
    };
    for (const Case& c : cases) {
        Camera camera = withZoom(c.zoom);
        press(camera, NavKey::Up, kShift, c.elevationPresses);
        // The point at the focus distance under `from`.
        const long double a = (c.from.x - kCx) * kPi / (4000.0L * c.zoom);
        const long double b = (kCy - c.from.y) * kPi / (4000.0L * c.zoom);
        const long double r = camera.Distance;
        const long double side = r * std::tan(a);
        const long double up = r * std::tan(b);
        const Vec3f point{
            static_cast<float>(camera.Focus.x + side * camera.Side.x + up * camera.Up.x),
            static_cast<float>(camera.Focus.y + side * camera.Side.y + up * camera.Up.y),
            static_cast<float>(camera.Focus.z + up * camera.Up.z)};
        ASSERT_EQ(ProjectPoint(kCx, kCy, camera, point), c.from);
        EXPECT_EQ(panByDrag(camera, {kCx, kCy}, c.from, c.to), ReadOutX | ReadOutY | ReadOutZ);
        const auto after = ProjectPoint(kCx, kCy, camera, point);
        ASSERT_TRUE(after);
        EXPECT_NEAR(after->x, c.to.x, 1) << c.zoom;
        EXPECT_NEAR(after->y, c.to.y, 1) << c.zoom;
        EXPECT_EQ(camera.Azimuth, startCamera().Azimuth);
    }
}

TEST(MouseCamera, panDrag_withoutMovement_changesNothing) {
    Camera camera = startCamera();
    EXPECT_EQ(panByDrag(camera, {kCx, kCy}, {5, 5}, {5, 5}), ReadOutNone);
    expectSameCamera(camera, startCamera());
}

TEST(MouseCamera, panDrag_farOffTheCentre_staysFinite) {
    Camera camera = withZoom(0.1f);
    panByDrag(camera, {640, 512}, {0, 0}, {1280, 1024});
    EXPECT_TRUE(std::isfinite(camera.Focus.x) && std::isfinite(camera.Focus.z));
}

TEST(MouseCamera, wheel_takesOneLadderStepPerNotch) {
    const std::pair<int, float> cases[] = {{1, 2.0f},  {3, 4.0f},   {-1, 0.9f},
                                           {-2, 0.8f}, {12, 10.0f}, {-40, 0.1f}};
    for (const auto& [notches, zoom] : cases) {
        Camera camera = startCamera();
        EXPECT_EQ(zoomByWheel(camera, notches), ReadOutZoom);
        EXPECT_EQ(camera.Zoom, zoom) << notches;
        Camera keyed = startCamera();
        press(keyed, notches > 0 ? NavKey::ZoomIn : NavKey::ZoomOut, kNone, std::abs(notches));
        EXPECT_EQ(camera.Zoom, keyed.Zoom) << notches;
    }
    Camera camera = startCamera();
    EXPECT_EQ(zoomByWheel(camera, 0), ReadOutNone);
}

TEST(MouseCamera, reset_bringsBackTheStartCamera) {
    Camera camera = startCamera();
    orbitByDrag(camera, 37, -81);
    panByDrag(camera, {kCx, kCy}, {1, 2}, {300, 9});
    zoomByWheel(camera, 4);
    EXPECT_EQ(resetCamera(camera), ReadOutAll);
    expectSameCamera(camera, startCamera());
}

// --- framing ------------------------------------------------------------------------------

std::vector<Vec3f> lineOf(Vec3f from, Vec3f to, int count) {
    std::vector<Vec3f> points;
    for (float i = 0; i < count; ++i) {
        const float t = i / static_cast<float>(std::max(count - 1, 1));
        points.push_back({from.x + t * (to.x - from.x), from.y + t * (to.y - from.y),
                          from.z + t * (to.z - from.z)});
    }
    return points;
}

// Every point in front of the eye and inside the margin; one rung closer, not all of them.
TEST(Framing, pathsOfAnyExtent_fitInsideTheMarginAtTheClosestRungThatDoes) {
    struct Case {
        const char* name;
        std::vector<Vec3f> points;
        int width;
        int height;
    };
    Camera turned = startCamera();
    turned.Azimuth = 1.0f;
    turned.Elevation = 5.5f; // below the ground, upside down
    deriveFields(turned);
    const Case cases[] = {
        {"one point", {{3, -4, 5}}, 440, 439},
        {"a character's size", lineOf({1, 1, 1}, {1.05f, 1, 1}, 2), 440, 439},
        {"a room far off the origin", lineOf({1000, 2000, 0}, {1010, 2010, 30}, 5), 440, 439},
        {"a level", lineOf({-3000, -100, -20}, {4000, 900, 500}, 50), 1280, 1024},
        {"along the view", lineOf({0, -40, 0}, {0, 400, 0}, 30), 440, 439},
        {"a tall thin picture", lineOf({-50, 0, 0}, {50, 0, 0}, 3), 60, 900},
    };
    for (const Camera& start : {startCamera(), turned})
        for (const Case& c : cases) {
            Camera camera = start;
            EXPECT_EQ(frameAll(camera, c.points, c.width, c.height), ReadOutAll) << c.name;
            EXPECT_EQ(camera.Elevation, start.Elevation);
            const Pixel centre = pictureCentre(c.width, c.height);
            const auto inside = [&](const Camera& at) {
                return std::all_of(c.points.begin(), c.points.end(), [&](const Vec3f& p) {
                    const auto pixel = ProjectPoint(centre.x, centre.y, at, p);
                    const float depth = (p.x - at.Position.x) * at.Heading.x +
                                        (p.y - at.Position.y) * at.Heading.y +
                                        (p.z - at.Position.z) * at.Heading.z;
                    return depth > 0 && pixel && pixel->x >= kFrameMargin &&
                           pixel->y >= kFrameMargin && pixel->x < c.width - kFrameMargin &&
                           pixel->y < c.height - kFrameMargin;
                });
            };
            EXPECT_TRUE(inside(camera)) << c.name << " at zoom " << camera.Zoom;
            Camera closer = camera;
            closer.Zoom = zoomIn(camera.Zoom == 10.0f ? 11.0f : camera.Zoom);
            EXPECT_TRUE(closer.Zoom == camera.Zoom || !inside(closer)) << c.name;
        }
}

TEST(Framing, aCharacterOf005Jku_fillsAtLeastAQuarterOfThePicture) {
    const std::vector<Vec3f> corners = {{0, 0, 0}, {0.05f, 0, 0}, {0, 0.05f, 0}, {0, 0, 0.05f}};
    Camera camera = startCamera();
    frameAll(camera, corners, 440, 439);
    const auto left = ProjectPoint(kCx, kCy, camera, corners[0]);
    const auto right = ProjectPoint(kCx, kCy, camera, corners[1]);
    ASSERT_TRUE(left && right);
    EXPECT_GE(right->x - left->x, 440 / 4);
    // Beyond the 32-bit range there is nowhere to put the eye.
    EXPECT_EQ(frameAll(camera, {{3e38f, 0, 0}, {-3e38f, 0, 0}}, 440, 439), ReadOutNone);
}

// --- playback clock ---------------------------------------------------------------------

TEST(PlaybackClock, advancesInRealTimeAndEndsOrLoops) {
    struct Case {
        const char* name;
        std::int64_t start;
        long double elapsed;
        float fps;
        PlayRange range;
        bool loop;
        std::int64_t frame;
        bool ended;
    };
    const Case cases[] = {
        {"nothing elapsed", 3, 0.0L, 15, {0, 30}, false, 3, false},
        {"a frame's time has not quite come", 0, 0.0666L, 15, {0, 30}, false, 0, false},
        {"one frame at 15 per second", 0, 0.0667L, 15, {0, 30}, false, 1, false},
        {"a second at 15 per second", 0, 1.0L, 15, {0, 30}, false, 15, false},
        {"from the middle", 10, 0.5L, 30, {0, 30}, false, 25, false},
        {"the last frame is shown", 0, 2.0L, 15, {0, 30}, false, 30, false},
        {"past it the playback ends there", 0, 2.1L, 15, {0, 30}, false, 30, true},
        {"a loop starts again from 0", 0, 2.1L, 15, {0, 30}, true, 0, false},
        {"and goes on", 25, 1.0L, 15, {0, 30}, true, 9, false},
        {"a single frame ends at once", 0, 0.1L, 15, {0, 0}, false, 0, true},
        {"a single frame loops on itself", 0, 5.0L, 15, {0, 0}, true, 0, false},
        {"a clock running backwards stays put", 4, -1.0L, 15, {0, 30}, false, 4, false},
        {"a range ends at its last frame", 15, 1.0L, 15, {10, 20}, false, 20, true},
        {"its last frame is shown", 15, 0.34L, 15, {10, 20}, false, 20, false},
        {"a range loops from its first frame", 15, 0.4L, 15, {10, 20}, true, 10, false},
        {"and goes on within it", 15, 1.0L, 15, {10, 20}, true, 19, false},
    };
    for (const Case& c : cases) {
        const PlaybackStep step = advancePlayback(c.start, c.elapsed, c.fps, c.range, c.loop);
        EXPECT_EQ(step.frame, c.frame) << c.name;
        EXPECT_EQ(step.ended, c.ended) << c.name;
    }
}

TEST(PlaybackClock, readOutGivesFrameAndTime) {
    EXPECT_EQ(frameReadOut(0, 15), "Frame 0   0.000 s");
    EXPECT_EQ(frameReadOut(12, 15), "Frame 12   0.800 s");
    EXPECT_EQ(frameReadOut(30, 29.97f), "Frame 30   1.001 s");
    const std::vector<KeyMarker> markers{{18, 3}, {7.5f, 4}, {18, 5}, {40, 99}};
    EXPECT_EQ(frameReadOut(18, 25, markers), "Frame 18   0.720 s   Attack, Swing end");
    EXPECT_EQ(frameReadOut(8, 25, markers), "Frame 8   0.320 s   Swing");
    EXPECT_EQ(frameReadOut(7, 25, markers), "Frame 7   0.280 s");
    EXPECT_EQ(frameReadOut(40, 25, markers), "Frame 40   1.600 s   Unknown");
}

} // namespace
} // namespace skyvane
