// The camera-eye view: a thing's axes against the engine's rule, composed here from the three
// turns one by one, and the perspective picture seen through them.
#include <gtest/gtest.h>

#include <cmath>

#include "preview/eyeview.h"

namespace skyvane {
namespace {

using Matrix = std::array<std::array<double, 3>, 3>;

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
    const double c = std::cos(degrees * M_PI / 180);
    const double s = std::sin(degrees * M_PI / 180);
    const int a = (axis + 1) % 3;
    const int b = (axis + 2) % 3;
    Matrix m{};
    m[axis][axis] = 1;
    m[a][a] = m[b][b] = c;
    m[a][b] = -s;
    m[b][a] = s;
    return m;
}

// The engine rolls about the thing's forward axis (Y at rest), then pitches about X, then yaws
// about Z; the columns of the product are the thing's right, look and up.
TEST(EyeView, orientation_isRollThenPitchThenYaw) {
    const std::array<float, 3> cases[] = {{0, 0, 0},     {0, 90, 0},    {30, 45, 0},
                                          {0, 0, 90},    {20, 200, 35}, {90, 0, 0},
                                          {270, 0, 0},   {90, 123, 40}, {270, 300, 10},
                                          {315, 10, 350}};
    for (const auto& [pitch, yaw, roll] : cases) {
        const Matrix m = times(turnAbout(2, yaw), times(turnAbout(0, pitch), turnAbout(1, roll)));
        const Orientation axes = thingOrientation(pitch, yaw, roll);
        for (int row = 0; row < 3; ++row) {
            EXPECT_NEAR(double(axes.right[row]), m[row][0], 1e-12) << pitch << " " << yaw;
            EXPECT_NEAR(double(axes.look[row]), m[row][1], 1e-12) << pitch << " " << yaw;
            EXPECT_NEAR(double(axes.up[row]), m[row][2], 1e-12) << pitch << " " << roll;
        }
    }
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
        {"yaw 90 faces -X", {0, 90, 0}, {-10, 0, 0}, Pixel{320, 240}},
        {"rolled: the world's right is up", {0, 0, 90}, {10, 10, 0}, Pixel{320, -80}},
        {"straight up: -Y is the picture's top", {90, 0, 0}, {0, -5, 10}, Pixel{320, 80}},
        {"straight down: +Y is the top", {270, 0, 0}, {0, 5, -10}, Pixel{320, 80}},
        {"behind", {0, 0, 0}, {0, -10, 0}, std::nullopt},
        {"in front of the near plane only", {0, 0, 0}, {1, 0.001f, 0}, std::nullopt},
    };
    for (const Case& c : cases) {
        const auto [pitch, yaw, roll] = c.pitchYawRoll;
        const EyeView eye = eyeOf({0, 0, 0}, pitch, yaw, roll, 640, 480);
        EXPECT_EQ(projectFromEye(eye, c.point), c.pixel) << c.name;
    }
}

// A line from in front of the eye to behind it is cut at the near plane, not lost.
TEST(EyeView, drawing_cutsALinePassingBehindTheEye) {
    EntryTable table(1);
    const Level level{{{-1, 10, 0}, {-1, -10, 0}}, {}, {{0, 1}}};
    const Bitmap picture = DrawEyeScene(eyeOf({0, 0, 1}, 0, 0, 0, 640, 480), {table, 0, 0},
                                        {&level, {}});
    EXPECT_EQ(picture.pixel(288, 272), kDarkCyan); // (-1, 10, 0)
    EXPECT_EQ(picture.pixel(120, 440), kDarkCyan); // 1.6 ahead, on its way to the lower left
}

} // namespace
} // namespace skyvane
