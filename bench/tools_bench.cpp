// The computations behind the windows at the largest size a node allows: a Transform Object
// that writes 1000 entries, a Smooth Path that fills a node from 100 keys, a Retime and a Mend
// Jumps over 1000 entries, a preview redraw of 1000 entries at 1280 x 1024, also with a level
// of 20,000 surfaces and the object, seen from the orbit and through the object's eye, and one
// frame of playback over the path. All run in an
// event handler, so each should take well under one frame; playback at 30 frames per second
// leaves 33 ms per frame.
#include <benchmark/benchmark.h>

#include <cmath>

#include "preview/eyeview.h"
#include "core/keymotion.h"
#include "largelevel.h"
#include "tools/mendcalc.h"
#include "core/numbers.h"
#include "tools/retimecalc.h"
#include "preview/scene.h"
#include "tools/smoothcalc.h"
#include "tools/transformcalc.h"
#include "core/validation.h"

namespace {

using namespace skyvane;

// A spiral climbing around the origin, every entry facing somewhere else.
EntryTable spiralTable() {
    EntryTable table(kMaxEntries);
    for (int e = 0; e < kMaxEntries; ++e) {
        const long double angle = e * 0.05L;
        const long double values[6] = {10.0L * std::cos(angle),
                                       10.0L * std::sin(angle),
                                       e * 0.01L,
                                       static_cast<long double>((e * 7) % 360),
                                       static_cast<long double>((e * 13) % 360),
                                       0.0L};
        table.setCell(ColEntry, e, std::to_string(e));
        table.setCell(ColFrame, e, std::to_string(e));
        table.setCell(ColSteps, e, "1");
        for (int axis = 0; axis < kValueCount; ++axis)
            table.setCell(kValueColumns[axis], e, formatPattern(values[axis], "###0.000000"));
    }
    return table;
}

// Every axis moves, so every column of every entry is computed and written.
TrajectoryRequest thousandEntries(const EntryTable& table) {
    TrajectoryRequest request;
    request.framesPerSecond = 25.0f;
    request.time = 39.96f; // 999 frames after the start entry
    for (int axis = 0; axis < kValueCount; ++axis)
        request.axes[axis] =
            AxisMotion{toTableUnits(axis, 3.5f + axis), toTableUnits(axis, 0.25f * axis), true};
    request.start = *startValues(table, 0);
    return request;
}

void BM_transformObject(benchmark::State& state) {
    const EntryTable source = spiralTable();
    const TrajectoryRequest request = thousandEntries(source);
    for (auto _ : state) {
        EntryTable table = source;
        applyCellEdits(table, generateTrajectory(table, request));
        benchmark::DoNotOptimize(table);
    }
}
BENCHMARK(BM_transformObject)->Unit(benchmark::kMillisecond);

// 100 keys of the spiral, ten frames apart: 900 entries between them.
void BM_smoothPath(benchmark::State& state) {
    EntryTable keys = spiralTable();
    closeGap(keys, 100, kMaxEntries - 1);
    for (int e = 0; e < 100; ++e) {
        keys.setCell(ColFrame, e, std::to_string(10 * e));
        keys.setCell(ColSteps, e, "10");
    }
    for (auto _ : state) {
        EntryTable table = keys;
        applyCellEdits(table, *smoothPath(table, 0, 99, 1, PathCurve::CatmullRom));
        benchmark::DoNotOptimize(table);
    }
}
BENCHMARK(BM_smoothPath)->Unit(benchmark::kMillisecond);

// Every Frame of a full node rescaled, and every Steps of it mended.
void BM_retimeAndMend(benchmark::State& state) {
    const EntryTable source = spiralTable();
    for (auto _ : state) {
        EntryTable table = source;
        applyCellEdits(table, retime(table, 0, kMaxEntries - 1, 3 * (kMaxEntries - 1)).edits);
        benchmark::DoNotOptimize(mendJumps({{"spiral", &source, kMaxEntries}}));
        benchmark::DoNotOptimize(table);
    }
}
BENCHMARK(BM_retimeAndMend)->Unit(benchmark::kMillisecond);

void BM_previewRedraw(benchmark::State& state) {
    const EntryTable table = spiralTable();
    const Camera camera = startCamera();
    const SceneEntries entries{table, kMaxEntries, 500};
    for (auto _ : state)
        benchmark::DoNotOptimize(DrawScene(1280, 1024, camera, entries));
}
BENCHMARK(BM_previewRedraw)->Unit(benchmark::kMillisecond);

// A box carrying a smaller box, as a two-node model of a ship.
Model3do boxShip() {
    const std::vector<Vec3f> corners{{-1, -1, -1}, {1, -1, -1}, {1, 1, -1}, {-1, 1, -1},
                                     {-1, -1, 1},  {1, -1, 1},  {1, 1, 1},  {-1, 1, 1}};
    const std::vector<Polygon> faces{{0, 3, 2, 1}, {4, 5, 6, 7}, {0, 1, 5, 4},
                                     {1, 2, 6, 5}, {2, 3, 7, 6}, {3, 0, 4, 7}};
    const Mesh3do hull{"hull", corners, faces, uniqueEdges(faces)};
    Mesh3do tower = hull;
    tower.name = "tower";
    for (Vec3f& corner : tower.vertices)
        corner = {corner.x * 0.3f, corner.y * 0.3f, corner.z * 0.3f};
    return {{hull, tower},
            {HierarchyNode{"hull", 0, -1, {}, {}, {}},
             HierarchyNode{"tower", 1, 0, {0, 0, 1.3f}, {}, {}}}};
}

// The whole picture of a large level, the path and the object at the highlighted entry, posed
// anew as each redraw does.
void BM_previewRedrawWithLevel(benchmark::State& state) {
    const EntryTable table = spiralTable();
    const Camera camera = startCamera();
    const SceneEntries entries{table, kMaxEntries, 500};
    const Level level = bench::largeLevel();
    const Model3do ship = boxShip();
    const NodePose atEntry{{10, 0, 5}, {10, 45, 0}};
    for (auto _ : state) {
        const SceneWorld world{&level, objectAtFrame(ship, {0}, {atEntry}, 0)};
        benchmark::DoNotOptimize(DrawScene(1280, 1024, camera, entries, world));
    }
}
BENCHMARK(BM_previewRedrawWithLevel)->Unit(benchmark::kMillisecond);

// The picture through the played object's eye inside the large level, with the object around
// the eye and the path ahead, posed anew as each redraw does.
void BM_eyeViewWithLevel(benchmark::State& state) {
    const EntryTable table = spiralTable();
    const SceneEntries entries{table, kMaxEntries, 500};
    const Level level = bench::largeLevel();
    const Model3do ship = boxShip();
    const KeyValues at = keyValues(table, 500);
    const NodePose pose{{at[0], at[1], at[2]}, {at[3], at[4], at[5]}};
    const EyeView eye = eyeOf(pose.position, at[3], at[4], at[5], 1280, 1024);
    for (auto _ : state) {
        const SceneWorld world{&level, objectAtFrame(ship, {0}, {pose}, 0)};
        benchmark::DoNotOptimize(DrawEyeScene(eye, entries, world));
    }
}
BENCHMARK(BM_eyeViewWithLevel)->Unit(benchmark::kMillisecond);

// What the preview does for each frame it plays: the entry check of the cells, the played
// object and the jumps, and the whole picture with them.
void BM_playedFrame(benchmark::State& state) {
    const EntryTable table = spiralTable();
    const Camera camera = startCamera();
    const SceneEntries entries{table, kMaxEntries, 500};
    std::int64_t frame = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(checkEntries(table, 0, kMaxEntries - 1));
        const ScenePlayback playback = scenePlayback(table, kMaxEntries, frame);
        benchmark::DoNotOptimize(DrawScene(1280, 1024, camera, entries, {}, &playback));
        frame = (frame + 1) % kMaxEntries;
    }
}
BENCHMARK(BM_playedFrame)->Unit(benchmark::kMillisecond);

} // namespace
