// Window placement on simulated screens: the start-up places of the main window and the
// preview, fitting into a screen, and keeping the frame selector off the grid's rows.
#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "ui/placement.h"

namespace skyvane {

std::ostream& operator<<(std::ostream& out, const Place& place) {
    return out << "(" << place.x << ", " << place.y << ", " << place.width << " x " << place.height
               << ")";
}

namespace {

// The designed places: main window 640 x 480 at 24, 24; preview 650 x 470 at 80, 80.
constexpr Place kMain{24, 24, 640, 480};
constexpr Place kPreview{80, 80, 650, 470};
constexpr Size kMainMinimum{420, 260};
constexpr Size kPreviewMinimum{400, 300};
constexpr Size kPreviewSmallest{320, 200};
// The main window's grid and its headers with the first five entries of Frame to Z, in the
// main window's client coordinates.
constexpr Rect kGrid{3, 128, 632, 325};
constexpr Rect kGridKeepVisible{45, 128, 585, 100};
constexpr Margins kNoFrame{};
constexpr Margins kFrame{4, 30, 4, 4};

// A screen of `width` x `height` device pixels at scale `factor`, less a panel along its top.
Rect screen(int width, int height, double factor = 1, int panel = 0) {
    return {0, panel, static_cast<int>(width / factor), static_cast<int>(height / factor) - panel};
}

StartScreen startScreen(std::vector<Rect> areas, Margins frame) {
    StartScreen start;
    start.areas = std::move(areas);
    start.frame = frame;
    start.main = kMain;
    start.preview = kPreview;
    start.mainMinimum = kMainMinimum;
    start.previewMinimum = kPreviewMinimum;
    start.previewSmallest = kPreviewSmallest;
    start.grid = kGrid;
    start.gridKeepVisible = kGridKeepVisible;
    return start;
}

struct StartCase {
    std::string name;
    Rect area;
    Margins frame;
    bool sideBySide; // there is room for both windows without overlap
    Place main;
    Place preview;
};

// --- start-up -------------------------------------------------------------------------------

TEST(StartPlaces, eachScreen_keepsWindowsInsideAndApartWhereThereIsRoom) {
    const StartCase cases[] = {
        // Wide enough for both at their designed sizes: the preview to the right, top-aligned.
        {"1920x1080", screen(1920, 1080), kNoFrame, true, kMain, {672, 24, 650, 470}},
        {"1920x1080 framed", screen(1920, 1080), kFrame, true, kMain, {680, 24, 650, 470}},
        {"1920x1080 top panel",
         screen(1920, 1080, 1, 32),
         kFrame,
         true,
         {24, 32, 640, 480},
         {680, 32, 650, 470}},
        // Not wide enough: below the main window where the designed size fits there, else in
        // what is left to the right.
        {"1280x1024", screen(1280, 1024), kNoFrame, true, kMain, {24, 512, 650, 470}},
        {"1280x1024 framed", screen(1280, 1024), kFrame, true, kMain, {680, 24, 592, 470}},
        {"1080x1920 portrait", screen(1080, 1920), kFrame, true, kMain, {24, 546, 650, 470}},
        {"1920x1080 at 1.5", screen(1920, 1080, 1.5), kFrame, true, kMain, {680, 24, 592, 470}},
        // Scale factors 1.5 and 2: the preview fits nowhere beside the main window at its
        // smallest useful size. It shrinks and goes where it covers the least of the grid,
        // never its first rows and columns: here below them.
        {"1280x1024 at 1.5", screen(1280, 1024, 1.5), kFrame, false, kMain, {525, 448, 320, 200}},
        {"1920x1080 at 2", screen(1920, 1080, 2), kFrame, false, kMain, {632, 306, 320, 200}},
        {"1280x1024 at 2",
         screen(1280, 1024, 2),
         kFrame,
         false,
         {0, 0, 632, 478},
         {0, 278, 320, 200}},
        // Beside the main window at that size, where there is room for it.
        {"1024x768", screen(1024, 768), kFrame, true, kMain, {696, 0, 320, 200}},
        {"800x600", screen(800, 600), kNoFrame, false, kMain, {480, 400, 320, 200}},
    };
    for (const StartCase& c : cases) {
        SCOPED_TRACE(c.name);
        const StartPlaces places = placeStartWindows(startScreen({c.area}, c.frame));
        EXPECT_EQ(places.main, c.main);
        EXPECT_EQ(places.preview, c.preview);
        EXPECT_TRUE(fitsInside(places.main, c.frame, c.area));
        EXPECT_TRUE(fitsInside(places.preview, c.frame, c.area));
        const bool apart =
            !frameRect(places.main, c.frame).intersects(frameRect(places.preview, c.frame));
        EXPECT_EQ(apart, c.sideBySide);
        const Rect kept{places.main.x + c.frame.left + kGridKeepVisible.x,
                        places.main.y + c.frame.top + kGridKeepVisible.y, kGridKeepVisible.width,
                        kGridKeepVisible.height};
        EXPECT_FALSE(frameRect(places.preview, c.frame).intersects(kept));
    }
}

// The rows kept in view decide before the least covering: here, kept at the bottom, they turn
// the preview from the bottom corner, which covers less of the grid, to the top one.
TEST(StartPlaces, overMain_neverCoversTheRowsKeptInView) {
    StartScreen start = startScreen({screen(800, 600)}, kNoFrame);
    start.grid = {0, 0, 640, 480};
    start.gridKeepVisible = {0, 380, 640, 100};
    EXPECT_EQ(placeStartWindows(start).preview, (Place{480, 0, 320, 200}));
}

TEST(StartPlaces, rememberedPlaces_areKeptOnlyWhereTheyStillFit) {
    const Rect wide = screen(1920, 1080);
    const Place main{300, 200, 1200, 700};
    const Place preview{1520, 100, 380, 500};
    StartScreen start = startScreen({wide}, kFrame);
    start.rememberedMain = main;
    start.rememberedPreview = preview;
    StartPlaces places = placeStartWindows(start);
    EXPECT_EQ(places.main, main);
    EXPECT_EQ(places.preview, preview);

    // The same places on a smaller screen: the designed ones instead, apart from each other.
    start.areas = {screen(1280, 1024)};
    places = placeStartWindows(start);
    EXPECT_EQ(places.main, kMain);
    EXPECT_EQ(places.preview, (Place{680, 24, 592, 470}));

    // A main window that still fits keeps its place; the preview goes beside it.
    start.rememberedMain = Place{10, 400, 500, 400};
    places = placeStartWindows(start);
    EXPECT_EQ(places.main, *start.rememberedMain);
    EXPECT_EQ(places.preview, (Place{526, 400, 650, 470}));
}

TEST(StartPlaces, rememberedPlaceOnSecondScreen_isKeptThere) {
    const Rect primary = screen(1920, 1080);
    const Rect second{1920, 0, 1280, 1024};
    StartScreen start = startScreen({primary, second}, kFrame);
    start.rememberedMain = Place{2000, 50, 640, 480};
    const StartPlaces places = placeStartWindows(start);
    EXPECT_EQ(places.main, *start.rememberedMain);
    // Beside it on the same screen, in what is left of it.
    EXPECT_EQ(places.preview, (Place{2656, 50, 536, 470}));
    EXPECT_TRUE(fitsInside(places.preview, kFrame, second));

    // Off every screen (the second one was unplugged): the designed place on the primary.
    start.areas = {primary};
    EXPECT_EQ(placeStartWindows(start).main, kMain);
}

// --- fitting into a screen --------------------------------------------------------------------

struct FitCase {
    std::string name;
    Place wanted;
    Size minimum;
    Place expected;
};

TEST(FitInside, shrinksAndMovesOnlyWhatDoesNotFit) {
    const Rect area{0, 20, 800, 580};
    const FitCase cases[] = {
        {"fits", {100, 100, 400, 300}, {}, {100, 100, 400, 300}},
        {"touches every edge", {0, 20, 792, 546}, {}, {0, 20, 792, 546}},
        {"past the right edge", {500, 100, 400, 300}, {}, {392, 100, 400, 300}},
        {"past the bottom edge", {100, 400, 400, 300}, {}, {100, 266, 400, 300}},
        {"above and left of the area", {-50, 0, 400, 300}, {}, {0, 20, 400, 300}},
        {"too large", {24, 24, 1000, 700}, {}, {0, 20, 792, 546}},
        {"too large, minimum larger than the area",
         {24, 24, 1000, 700},
         {900, 650},
         {0, 20, 900, 650}},
        {"minimum never grows it", {24, 24, 300, 200}, {500, 500}, {24, 24, 300, 200}},
    };
    for (const FitCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(fitInside(c.wanted, c.minimum, kFrame, area), c.expected);
    }
}

// --- the frame selector beside the grid ---------------------------------------------------

struct ClearCase {
    std::string name;
    Place wanted;
    Rect keepClear;
    Place expected;
};

TEST(PlaceClearOf, movesTheSelectorOffTheRowsWhereThereIsRoom) {
    const Rect area = screen(1280, 1024);
    // The designed selector (184 x 83 at 425, 196) and the grid of a main window at 24, 24.
    const Place selector{425, 196, 184, 83};
    const Rect grid{30, 190, 480, 320};
    const ClearCase cases[] = {
        {"clear already", selector, {30, 400, 480, 100}, selector},
        {"above the grid", selector, grid, {425, 65, 184, 83}},
        {"below a grid at the top of the screen",
         {425, 10, 184, 83},
         {30, 20, 480, 300},
         {425, 328, 184, 83}},
        {"right of a grid as tall as the screen",
         selector,
         {30, 0, 480, 1024},
         {518, 196, 184, 83}},
        {"left of a grid on the right", selector, {400, 0, 880, 1024}, {200, 196, 184, 83}},
        {"over a grid that fills the screen", selector, area, selector},
        {"fitted when off the screen",
         {1200, 1000, 184, 83},
         {0, 0, 100, 100},
         {1088, 907, 184, 83}},
    };
    for (const ClearCase& c : cases) {
        SCOPED_TRACE(c.name);
        const Place placed = placeClearOf(c.wanted, c.keepClear, kFrame, area);
        EXPECT_EQ(placed, c.expected);
        EXPECT_TRUE(fitsInside(placed, kFrame, area));
    }
}

} // namespace
} // namespace skyvane
