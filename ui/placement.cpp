// Window placement on rectangles: fitting into a screen, keeping clear of a region, and the
// start-up places of the main window and the preview.
#include "ui/placement.h"

#include <algorithm>

namespace skyvane {
namespace {

// Room left between two windows placed side by side.
constexpr int kGap = 8;
// The sizes a preview over the main window tries, from the largest that fits to the smallest.
constexpr int kShrinkSteps = 8;

Rect movedBy(const Rect& rect, int dx, int dy) {
    return {rect.x + dx, rect.y + dy, rect.width, rect.height};
}

long long overlapArea(const Rect& a, const Rect& b) {
    const long long width = std::min(a.right(), b.right()) - std::max(a.x, b.x);
    const long long height = std::min(a.bottom(), b.bottom()) - std::max(a.y, b.y);
    return width > 0 && height > 0 ? width * height : 0;
}

int between(int from, int to, int step) {
    return from + (to - from) * step / kShrinkSteps;
}

// With no room beside the main window, the preview overlaps it: the largest size that keeps the
// grid's first rows and columns in view, in the place that covers the least of the grid, the
// preview's own place first, then the corners of the screen.
Place previewOverMain(const StartScreen& screen, const Place& main, const Rect& area) {
    const Margins& frame = screen.frame;
    const Place fitted = fitInside(screen.preview, screen.previewMinimum, frame, area);
    const int clientX = main.x + frame.left;
    const int clientY = main.y + frame.top;
    const Rect keep = movedBy(screen.gridKeepVisible, clientX, clientY);
    const Rect grid = movedBy(screen.grid, clientX, clientY);
    const Size smallest{std::min(screen.previewSmallest.width, fitted.width),
                        std::min(screen.previewSmallest.height, fitted.height)};

    std::optional<Place> best;
    long long bestCover = 0;
    for (int step = 0; step <= kShrinkSteps; ++step) {
        const int width = between(fitted.width, smallest.width, step);
        const int height = between(fitted.height, smallest.height, step);
        const int right = area.right() - width - frame.left - frame.right;
        const int bottom = area.bottom() - height - frame.top - frame.bottom;
        const Place candidates[] = {
            fitInside({fitted.x, fitted.y, width, height}, {width, height}, frame, area),
            {area.x, area.y, width, height},
            {right, area.y, width, height},
            {area.x, bottom, width, height},
            {right, bottom, width, height},
        };
        for (const Place& place : candidates) {
            const Rect covering = frameRect(place, frame);
            if (!area.contains(covering) || covering.intersects(keep))
                continue;
            const long long cover = overlapArea(covering, grid);
            if (!best || cover < bestCover) {
                best = place;
                bestCover = cover;
            }
        }
    }
    return best ? *best : fitted;
}

// Moves a run of `length` pixels starting at `start` into [areaStart, areaEnd): the far edge
// first, then the near one, so that a run too long for the area keeps its start inside.
int moveInto(int start, int length, int areaStart, int areaEnd) {
    return std::max(std::min(start, areaEnd - length), areaStart);
}

std::optional<Rect> areaHolding(const std::optional<Place>& place, const Margins& frame,
                                const std::vector<Rect>& areas) {
    if (!place)
        return std::nullopt;
    for (const Rect& area : areas)
        if (fitsInside(*place, frame, area))
            return area;
    return std::nullopt;
}

// The preview's place when nothing is remembered for it: beside `main` where there is room.
Place previewBesideMain(const StartScreen& screen, const Place& main, const Rect& area) {
    const Margins& frame = screen.frame;
    const int frameWidth = frame.left + frame.right;
    const int frameHeight = frame.top + frame.bottom;
    const Rect beside = frameRect(main, frame);
    const Size designed{screen.preview.width, screen.preview.height};

    Place right{beside.right() + kGap, 0, designed.width, designed.height};
    right.y = moveInto(beside.y, designed.height + frameHeight, area.y, area.bottom());
    Place below{0, beside.bottom() + kGap, designed.width, designed.height};
    below.x = moveInto(beside.x, designed.width + frameWidth, area.x, area.right());
    for (const Place& place : {right, below})
        if (fitsInside(place, frame, area))
            return place;

    // Where the designed size is too large, what is left beside the main window may do.
    for (Place place : {right, below}) {
        place.width = std::min(designed.width, area.right() - place.x - frameWidth);
        place.height = std::min(designed.height, area.bottom() - place.y - frameHeight);
        if (place.width >= screen.previewMinimum.width &&
            place.height >= screen.previewMinimum.height && fitsInside(place, frame, area))
            return place;
    }
    return previewOverMain(screen, main, area);
}

} // namespace

bool Rect::contains(const Rect& inner) const {
    return inner.x >= x && inner.y >= y && inner.right() <= right() && inner.bottom() <= bottom();
}

bool Rect::intersects(const Rect& other) const {
    // An empty rectangle holds no pixel to share.
    if (width <= 0 || height <= 0 || other.width <= 0 || other.height <= 0)
        return false;
    return other.x < right() && x < other.right() && other.y < bottom() && y < other.bottom();
}

bool operator==(const Place& a, const Place& b) {
    return a.x == b.x && a.y == b.y && a.width == b.width && a.height == b.height;
}

Rect frameRect(const Place& place, const Margins& frame) {
    return {place.x, place.y, frame.left + place.width + frame.right,
            frame.top + place.height + frame.bottom};
}

bool fitsInside(const Place& place, const Margins& frame, const Rect& area) {
    return area.contains(frameRect(place, frame));
}

Place fitInside(const Place& wanted, const Size& minimum, const Margins& frame, const Rect& area) {
    const int frameWidth = frame.left + frame.right;
    const int frameHeight = frame.top + frame.bottom;
    Place place = wanted;
    place.width = std::max(std::min(wanted.width, area.width - frameWidth),
                           std::min(minimum.width, wanted.width));
    place.height = std::max(std::min(wanted.height, area.height - frameHeight),
                            std::min(minimum.height, wanted.height));
    place.x = moveInto(wanted.x, place.width + frameWidth, area.x, area.right());
    place.y = moveInto(wanted.y, place.height + frameHeight, area.y, area.bottom());
    return place;
}

Place placeClearOf(const Place& wanted, const Rect& keepClear, const Margins& frame,
                   const Rect& area) {
    const Place fitted = fitInside(wanted, {wanted.width, wanted.height}, frame, area);
    const Rect covering = frameRect(fitted, frame);
    if (!covering.intersects(keepClear))
        return fitted;
    const Place candidates[] = {
        {fitted.x, keepClear.y - kGap - covering.height, fitted.width, fitted.height},
        {fitted.x, keepClear.bottom() + kGap, fitted.width, fitted.height},
        {keepClear.right() + kGap, fitted.y, fitted.width, fitted.height},
        {keepClear.x - kGap - covering.width, fitted.y, fitted.width, fitted.height},
    };
    for (const Place& place : candidates)
        if (fitsInside(place, frame, area))
            return place;
    return fitted;
}

StartPlaces placeStartWindows(const StartScreen& screen) {
    if (screen.areas.empty())
        return {screen.main, screen.preview};
    Rect area = screen.areas.front();
    Place main;
    if (const std::optional<Rect> holding =
            areaHolding(screen.rememberedMain, screen.frame, screen.areas)) {
        main = *screen.rememberedMain;
        area = *holding;
    } else {
        main = fitInside(screen.main, screen.mainMinimum, screen.frame, area);
    }
    const Place preview = areaHolding(screen.rememberedPreview, screen.frame, screen.areas)
                              ? *screen.rememberedPreview
                              : previewBesideMain(screen, main, area);
    return {main, preview};
}

} // namespace skyvane
