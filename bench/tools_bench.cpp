// The computations behind the windows at the largest size a node allows: a Transform Object
// that writes 1000 entries, and a preview redraw of 1000 entries at 1280 x 1024. Both run in
// an event handler, so each should take well under one frame.
#include <benchmark/benchmark.h>

#include <cmath>

#include "numbers.h"
#include "scene.h"
#include "transformcalc.h"

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
        for (int axis = 0; axis < kAxisCount; ++axis)
            table.setCell(kValueColumns[axis], e, formatPattern(values[axis], "###0.000000"));
    }
    return table;
}

// Every axis moves, so every column of every entry is computed and written.
TrajectoryRequest thousandEntries(const EntryTable& table) {
    TrajectoryRequest request;
    request.framesPerSecond = 25.0f;
    request.time = 39.96f; // 999 frames after the start entry
    for (int axis = 0; axis < kAxisCount; ++axis)
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

void BM_previewRedraw(benchmark::State& state) {
    const EntryTable table = spiralTable();
    const Camera camera = startCamera();
    const SceneEntries entries{table, kMaxEntries, 500};
    for (auto _ : state)
        benchmark::DoNotOptimize(DrawScene(1280, 1024, camera, entries));
}
BENCHMARK(BM_previewRedraw)->Unit(benchmark::kMillisecond);

} // namespace
