// The camera-eye view: a thing's axes against the engine's rule, composed here from the three
// turns one by one, and the perspective picture seen through them.
#include <gtest/gtest.h>

#include <cmath>

#include "eyeview.h"

namespace skyvane {
namespace {

using Matrix = std::array<std::array<double, 3>, 3>;

constexpr double kPi = 3.14159265358979323846;

Matrix times(const Matrix& a, const Matrix& b) {
    Matrix out{};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            for (int k = 0; k < 3; ++k)
                out[i][j] += a[i][k] * b[k][j];
    return out;
}

// A right-handed turn by `degrees` about the world axis `axis` (0 X, 1 Y, 2 Z).
Matrix turnAbout(int axis, double degrees) {
    const double c = std::cos(degrees * kPi / 180);
    const double s = std::sin(degrees * kPi / 180);
    const int a = (axis + 1) % 3;
    const int b = (axis + 2) % 3;
    Matrix m{};
    m[axis][axis] = 1;
    m[a][a] = c;
    m[a][b] = -s;
    m[b][a] = s;
    m[b][b] = c;
    return m;
}

void expectAxis(const Axis& got, double x, double y, double z, const char* what) {
    EXPECT_NEAR(static_cast<double>(got[0]), x, 1e-12) << what;
    EXPECT_NEAR(static_cast<double>(got[1]), y, 1e-12) << what;
    EXPECT_NEAR(static_cast<double>(got[2]), z, 1e-12) << what;
}

// The engine rolls about the thing's forward axis (Y at rest), then pitches about X, then yaws
// about Z; the columns of the product are the thing's right, look and up.
TEST(EyeView, orientation_isRollThenPitchThenYaw) {
    const std::array<float, 3> cases[] = {
        {0, 0, 0},   {0, 90, 0},    {30, 45, 0},    {0, 0, 90},     {20, 200, 35}, {90, 0, 0},
        {270, 0, 0}, {90, 123, 40}, {270, 300, 10}, {315, 10, 350}, {45, 270, 180}};
    for (const auto& [pitch, yaw, roll] : cases) {
        const Matrix turned =
            times(turnAbout(2, yaw), times(turnAbout(0, pitch), turnAbout(1, roll)));
        const Orientation axes = thingOrientation(pitch, yaw, roll);
        const std::string name =
            std::to_string(pitch) + " " + std::to_string(yaw) + " " + std::to_string(roll);
        expectAxis(axes.right, turned[0][0], turned[1][0], turned[2][0], name.c_str());
        expectAxis(axes.look, turned[0][1], turned[1][1], turned[2][1], name.c_str());
        expectAxis(axes.up, turned[0][2], turned[1][2], turned[2][2], name.c_str());
    }
}

TEST(EyeView, orientation_knownDirections) {
    const Orientation up = thingOrientation(90, 0, 0); // straight up: the picture's top is -Y
    expectAxis(up.look, 0, 0, 1, "up look");
    expectAxis(up.up, 0, -1, 0, "up up");
    const Orientation down = thingOrientation(270, 0, 0);
    expectAxis(down.look, 0, 0, -1, "down look");
    expectAxis(down.up, 0, 1, 0, "down up");
    const Orientation rolled = thingOrientation(0, 0, 90); // the right side goes down
    expectAxis(rolled.right, 0, 0, -1, "rolled right");
    expectAxis(rolled.up, 1, 0, 0, "rolled up");
    const Orientation west = thingOrientation(0, 90, 0);
    expectAxis(west.look, -1, 0, 0, "yaw 90 look");
}

TEST(EyeView, projection_spansTheFieldOfViewAcrossTheWidth) {
    struct Case {
        const char* name;
        std::array<float, 3> pitchYawRoll;
        Vec3f point;
        std::optional<Pixel> pixel;
    };
    const Case cases[] = {
        {"straight ahead", {0, 0, 0}, {0, 10, 0}, Pixel{320, 240}},
        {"45 degrees right: the right edge", {0, 0, 0}, {10, 10, 0}, Pixel{640, 240}},
        {"up", {0, 0, 0}, {0, 10, 5}, Pixel{320, 80}},
        {"facing -X", {0, 90, 0}, {-10, 0, 0}, Pixel{320, 240}},
        {"rolled: the world's right is up", {0, 0, 90}, {10, 10, 0}, Pixel{320, -80}},
        {"looking up", {90, 0, 0}, {0, 5, 10}, Pixel{320, 400}},
        {"behind", {0, 0, 0}, {0, -10, 0}, std::nullopt},
        {"in the near plane", {0, 0, 0}, {1, 0.001f, 0}, std::nullopt},
    };
    for (const Case& c : cases) {
        const auto [pitch, yaw, roll] = c.pitchYawRoll;
        const EyeView eye = eyeOf({0, 0, 0}, pitch, yaw, roll, 640, 480);
        EXPECT_EQ(projectFromEye(eye, c.point), c.pixel) << c.name;
    }
}

// A line from in front of the eye to behind it is cut at the near plane; one wholly behind and
// one wholly off to the side draw nothing.
TEST(EyeView, drawing_cutsLinesAtTheNearPlaneAndTheEdges) {
    EntryTable table(2);
    const Level level{
        {{-1, 10, 0}, {-1, -10, 0}, {-5, -10, 0}, {-5, -20, 0}, {50, 10, 0}, {50, 20, 0}},
        {},
        {{0, 1}, {2, 3}, {4, 5}}};
    const EyeView eye = eyeOf({0, 0, 1}, 0, 0, 0, 640, 480);
    const Bitmap picture = DrawEyeScene(eye, {table, 0, 0}, {&level, {}});
    int cyan = 0;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            cyan += picture.pixel(x, y) == kDarkCyan ? 1 : 0;
    // The first line runs from (-1, 10) to straight below the eye's left: from x 288 at the
    // horizon's row down to the picture's bottom-left.
    EXPECT_EQ(picture.pixel(288, 272), kDarkCyan);
    EXPECT_GT(cyan, 100);
    EXPECT_EQ(picture.pixel(319, 240), kBlack);
}

} // namespace
} // namespace skyvane
