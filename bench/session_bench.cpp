// Undo at the largest size: a Transform Object that writes 1000 entries as one undoable step,
// its undo, and what a hundred such steps hold, in a document of 50 nodes of 1000 entries. Each
// runs in an event handler, so it should take well under one frame (16 ms).
#include <benchmark/benchmark.h>

#include "fulldocument.h"
#include "core/session.h"
#include "tools/transformcalc.h"

namespace {

using namespace skyvane;

// Every axis moves from entry 0 for 999 frames, so every value cell of every entry changes;
// `variant` changes the X velocity, so consecutive runs differ.
std::vector<CellEdit> thousandEntryRun(const EntryTable& table, int variant) {
    TrajectoryRequest request;
    request.framesPerSecond = 25.0f;
    request.time = 39.96f;
    for (int axis = 0; axis < kValueCount; ++axis)
        request.axes[axis] = AxisMotion{toTableUnits(axis, 3.5f + axis + variant * 0.5f),
                                        toTableUnits(axis, 0.25f * axis), true};
    request.start = *startValues(table, 0);
    return generateTrajectory(table, request);
}

EditSession& fullSession() {
    static EditSession session;
    static const bool installed = (session.install(bench::fullDocument()), true);
    static_cast<void>(installed);
    return session;
}

// The computation of the run and its writing as one step, as the dialog's OK does both.
void BM_transformStep(benchmark::State& state) {
    EditSession& session = fullSession();
    for (auto _ : state) {
        session.applyCellEdits(thousandEntryRun(session.entries(), 1), "Transform Object");
        state.PauseTiming();
        session.undo();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_transformStep)->Unit(benchmark::kMillisecond);

void BM_undoTransform(benchmark::State& state) {
    EditSession& session = fullSession();
    const std::vector<CellEdit> edits = thousandEntryRun(session.entries(), 1);
    for (auto _ : state) {
        state.PauseTiming();
        session.applyCellEdits(edits, "Transform Object");
        state.ResumeTiming();
        session.undo();
    }
}
BENCHMARK(BM_undoTransform)->Unit(benchmark::kMillisecond);

// A hundred different runs kept for undo: what the history holds, in all and per step.
void BM_hundredStepsMemory(benchmark::State& state) {
    std::size_t bytes = 0;
    std::size_t cells = 0;
    for (auto _ : state) {
        EditSession session;
        session.install(bench::fullDocument());
        for (int run = 0; run < 100; ++run) {
            const std::vector<CellEdit> edits = thousandEntryRun(session.entries(), run);
            cells = edits.size();
            session.applyCellEdits(edits, "Transform Object");
        }
        bytes = session.historyBytes();
        if (session.undoSteps() != 100)
            state.SkipWithError("a run changed nothing");
    }
    state.counters["history_MiB"] = static_cast<double>(bytes) / (1 << 20);
    state.counters["per_step_KiB"] = static_cast<double>(bytes) / 100 / 1024;
    state.counters["cells_per_run"] = static_cast<double>(cells);
}
BENCHMARK(BM_hundredStepsMemory)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace
