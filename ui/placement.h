// Where the windows go on the screen: plain rectangle arithmetic, so that every rule can be
// tried on simulated screens without a display.
#pragma once

#include <optional>
#include <vector>

namespace skyvane {

// A rectangle of screen pixels; right and bottom are exclusive.
struct Rect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;

    int right() const { return x + width; }
    int bottom() const { return y + height; }
    bool contains(const Rect& inner) const;
    bool intersects(const Rect& other) const;
};

struct Size {
    int width = 0;
    int height = 0;
};

// The frame that the window manager draws around a window's client area.
struct Margins {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

// A window's place as it is designed and remembered: the top-left corner of its frame and the
// size of its client area.
struct Place {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

bool operator==(const Place& a, const Place& b);

Rect frameRect(const Place& place, const Margins& frame);
bool fitsInside(const Place& place, const Margins& frame, const Rect& area);

// `wanted` when it fits inside `area`; otherwise shrunk to the area, though never below
// `minimum`, and moved in by the shortest way. What cannot fit keeps its top-left corner (the
// title bar and the menus) inside the area.
Place fitInside(const Place& wanted, const Size& minimum, const Margins& frame, const Rect& area);

// `wanted` fitted into `area` and, where it would cover `keepClear`, moved just above, below,
// right or left of it (the first of these that fits). When none does, it covers it.
Place placeClearOf(const Place& wanted, const Rect& keepClear, const Margins& frame,
                   const Rect& area);

// What the start-up placement of the main window and the preview works from.
struct StartScreen {
    std::vector<Rect> areas; // the available area of every screen, the primary one first
    Margins frame;
    Place main;    // as designed
    Place preview; // as designed
    Size mainMinimum;
    // The smallest useful preview: it goes beside the main window down to this size.
    Size previewMinimum;
    // Where there is no room beside the main window, the preview may shrink down to this size
    // to keep off the grid.
    Size previewSmallest;
    // The main window's entry grid and the part of it that must stay in view (its first rows
    // and the Frame to Z columns), in the main window's client coordinates.
    Rect grid;
    Rect gridKeepVisible;
    std::optional<Place> rememberedMain;
    std::optional<Place> rememberedPreview;
};

struct StartPlaces {
    Place main;
    Place preview;
};

// A remembered place is kept when it still fits a screen. Otherwise the main window takes its
// designed place and the preview goes to its right, or below it, at its designed size or, where
// that is too large, at what is left down to `previewMinimum`. Only when even that is too small
// does it overlap the main window: down to `previewSmallest`, where it covers the least of the
// grid and never `gridKeepVisible`.
StartPlaces placeStartWindows(const StartScreen& screen);

} // namespace skyvane
