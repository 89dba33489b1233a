// Smooth Path's arithmetic: the keys' values are read as 32-bit floats, the curves are evaluated
// at extended precision, and every written value is rounded to 32 bits.
#include "tools/smoothcalc.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <string>

#include "core/numbers.h"
#include "core/values.h"

namespace skyvane {
namespace {

constexpr int kPositionAxes = 3;
constexpr long double kAlpha = 0.5L; // centripetal

// One track through the keys: the three positions together, or one angle on its own.
template <std::size_t N> using Point = std::array<long double, N>;

template <std::size_t N> long double distance(const Point<N>& a, const Point<N>& b) {
    long double squares = 0;
    for (std::size_t i = 0; i < N; ++i)
        squares += (b[i] - a[i]) * (b[i] - a[i]);
    return std::sqrt(squares);
}

// (1 - w) a + w b
template <std::size_t N> Point<N> mix(const Point<N>& a, const Point<N>& b, long double w) {
    Point<N> p{};
    for (std::size_t i = 0; i < N; ++i)
        p[i] = a[i] + (b[i] - a[i]) * w;
    return p;
}

// The point before `from` continuing the line from `to` through `from`.
template <std::size_t N> Point<N> reflected(const Point<N>& from, const Point<N>& to) {
    return mix(to, from, 2);
}

// The curve between keys[k] and keys[k + 1] at u in [0, 1], by Barry and Goldman's pyramid over
// knots spaced by the square root of the distances. A missing or coincident neighbour is replaced
// by the reflection of the segment, so the ends and held keys need no special knots.
template <std::size_t N>
Point<N> catmullRom(const std::vector<Point<N>>& keys, std::size_t k, long double u) {
    const Point<N>& p1 = keys[k];
    const Point<N>& p2 = keys[k + 1];
    if (distance(p1, p2) == 0)
        return p1;
    const Point<N> p0 = k > 0 && distance(keys[k - 1], p1) > 0 ? keys[k - 1] : reflected(p1, p2);
    const Point<N> p3 =
        k + 2 < keys.size() && distance(p2, keys[k + 2]) > 0 ? keys[k + 2] : reflected(p2, p1);
    const long double t0 = 0;
    const long double t1 = t0 + std::pow(distance(p0, p1), kAlpha);
    const long double t2 = t1 + std::pow(distance(p1, p2), kAlpha);
    const long double t3 = t2 + std::pow(distance(p2, p3), kAlpha);
    const long double t = t1 + u * (t2 - t1);
    const Point<N> a1 = mix(p0, p1, (t - t0) / (t1 - t0));
    const Point<N> a2 = mix(p1, p2, (t - t1) / (t2 - t1));
    const Point<N> a3 = mix(p2, p3, (t - t2) / (t3 - t2));
    const Point<N> b1 = mix(a1, a2, (t - t0) / (t2 - t0));
    const Point<N> b2 = mix(a2, a3, (t - t1) / (t3 - t1));
    return mix(b1, b2, (t - t1) / (t2 - t1));
}

template <std::size_t N>
Point<N> curvePoint(const std::vector<Point<N>>& keys, std::size_t k, long double u,
                    PathCurve curve) {
    return curve == PathCurve::Linear ? mix(keys[k], keys[k + 1], u) : catmullRom(keys, k, u);
}

// The keys' tracks: positions, and each angle made continuous by going the shorter way round
// from the key before (a half turn stays as it is).
struct KeyTracks {
    std::vector<std::int32_t> frames;
    std::vector<Point<kPositionAxes>> positions;
    std::array<std::vector<Point<1>>, kValueCount - kPositionAxes> angles;
};

KeyTracks readKeys(const EntryTable& table, int first, int last) {
    KeyTracks keys;
    for (int e = first; e <= last; ++e) {
        keys.frames.push_back(parseInt(table.cell(ColFrame, e)));
        Point<kPositionAxes> position{};
        for (int axis = 0; axis < kPositionAxes; ++axis)
            position[axis] = parseSingle(table.cell(kValueColumns[axis], e));
        keys.positions.push_back(position);
        for (int axis = kPositionAxes; axis < kValueCount; ++axis) {
            const int column = kValueColumns[axis];
            std::vector<Point<1>>& track = keys.angles[axis - kPositionAxes];
            const long double angle = parseSingle(table.cell(column, e));
            if (track.empty()) {
                track.push_back({angle});
                continue;
            }
            long double turn = angle - parseSingle(table.cell(column, e - 1));
            if (turn > 180)
                turn -= 360;
            else if (turn < -180)
                turn += 360;
            track.push_back({track.back()[0] + turn});
        }
    }
    return keys;
}

float angleInRange(long double degrees) {
    return wrapAngleRaiseThenLower(toSingle(std::fmod(degrees, 360.0L)));
}

// A new entry at `frame` of the segment from key k, u of the way to key k + 1.
EntryRow curveEntry(const KeyTracks& keys, std::size_t k, std::int32_t frame, long double u,
                    PathCurve curve) {
    EntryRow row;
    row[ColFrame] = std::to_string(frame);
    const Point<kPositionAxes> position = curvePoint(keys.positions, k, u, curve);
    for (int axis = 0; axis < kPositionAxes; ++axis)
        row[kValueColumns[axis]] = formatFixedPoint6(toSingle(position[axis]));
    for (int axis = kPositionAxes; axis < kValueCount; ++axis) {
        const Point<1> angle = curvePoint(keys.angles[axis - kPositionAxes], k, u, curve);
        row[kValueColumns[axis]] = formatFixedPoint6(angleInRange(angle[0]));
    }
    return row;
}

// How many entries go between the keys.
std::int64_t newEntryCount(const KeyTracks& keys, int spacing) {
    std::int64_t count = 0;
    for (std::size_t k = 0; k + 1 < keys.frames.size(); ++k)
        count += std::max<std::int64_t>(std::int64_t{keys.frames[k + 1]} - keys.frames[k] - 1, 0) /
                 spacing;
    return count;
}

// The keys with the new entries between them, every Steps but the last key's reaching the next.
std::vector<EntryRow> smoothedRows(const EntryTable& table, const KeyTracks& keys, int first,
                                   int last, int spacing, PathCurve curve) {
    std::vector<EntryRow> rows;
    for (std::size_t k = 0; k + 1 < keys.frames.size(); ++k) {
        rows.push_back(table.row(first + static_cast<int>(k)));
        const std::int64_t from = keys.frames[k];
        const std::int64_t to = keys.frames[k + 1];
        for (std::int64_t frame = from + spacing; frame < to; frame += spacing) {
            const long double u = static_cast<long double>(frame - from) / (to - from);
            rows.push_back(curveEntry(keys, k, static_cast<std::int32_t>(frame), u, curve));
        }
    }
    rows.push_back(table.row(last));
    for (std::size_t i = 0; i + 1 < rows.size(); ++i)
        rows[i][ColSteps] = std::to_string(std::int64_t{parseInt(rows[i + 1][ColFrame])} -
                                           parseInt(rows[i][ColFrame]));
    return rows;
}

} // namespace

std::optional<std::vector<CellEdit>> smoothPath(const EntryTable& table, int first, int last,
                                                int spacing, PathCurve curve) {
    const int lastKey = std::min(last, countEntries(table) - 1);
    if (first < 0 || lastKey <= first)
        return std::vector<CellEdit>{};
    spacing = std::max(spacing, 1);
    const KeyTracks keys = readKeys(table, first, lastKey);
    // Insert Frames' rule: the last entry holding data, even after an emptied one, must stay.
    int lastData = lastKey;
    for (int e = lastKey + 1; e < kMaxEntries; ++e)
        if (holdsData(table.row(e)))
            lastData = e;
    if (lastData + newEntryCount(keys, spacing) > kLastEntry)
        return std::nullopt;
    // The table from the first key on as it becomes: the keys with the new entries, then the
    // entries after the range, moved down.
    std::vector<EntryRow> rows = smoothedRows(table, keys, first, lastKey, spacing, curve);
    for (int e = lastKey + 1; e < kMaxEntries; ++e)
        rows.push_back(table.row(e));
    std::vector<CellEdit> edits;
    for (int e = first; e < kMaxEntries; ++e) {
        EntryRow& row = rows[static_cast<std::size_t>(e - first)];
        row[ColEntry] = std::to_string(e);
        for (int c = 0; c < kColumnCount; ++c)
            if (row[c] != table.cell(c, e))
                edits.push_back({c, e, row[c]});
    }
    return edits;
}

} // namespace skyvane
