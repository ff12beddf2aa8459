// Recorded runs: -verify of the committed whole run against its played
// time, the cost of recording a step (and of a checkpoint) against the
// step, and the size of a 10-minute recording.
#include <benchmark/benchmark.h>
#include <chrono>
#include <vector>
#include "game_step.h"
#include "level.h"
#include "gui_behaviour.h"
#include "qz_alloc.h"
#include "recorded_run.h"
#include "screen_build.h"
#include "services.h"
#include "state_hash.h"
#include "world.h"

static const char* const wholeRunFile = ZENTREL_SOURCE_DIR "/tests/game/data/whole_run.zrec";

static MeasuringGuiRenderer noGui;  // as -verify lays screens out
struct NoQuit : HostServices {
    void quitGame() override {}
};
static NoQuit noQuit;

static bool loadWholeRun(Recording* r, benchmark::State& state) {
    FixedString<256> error;
    if (loadRecording(wholeRunFile, r, &error)) return true;
    state.SkipWithError(error.c_str());
    return false;
}

static void setUpHeadless() {
    gameGuiRenderer = &noGui;
    setHostServices(&noQuit);
    registerStandardBehaviours();
}

// The steps' inputs of the committed run, in order.
static std::vector<StepInput> wholeRunInputs(const Recording& r) {
    std::vector<StepInput> inputs;
    RecordingCursor cursor(r.data.data, (size_t)r.data.num);
    FixedString<256> error;
    for (;;) {
        StepInput in;
        Checkpoint c;
        RecordingCursor::Item item = cursor.next(&in, &c, &error);
        if (item == RecordingCursor::ItemStep) inputs.push_back(in);
        if (item == RecordingCursor::ItemEnd || item == RecordingCursor::ItemDamaged) break;
    }
    return inputs;
}

static void BM_VerifyWholeRun(benchmark::State& state) {
    Recording r;
    if (!loadWholeRun(&r, state)) return;
    setUpHeadless();
    bool allMatch = true;
    double seconds = 0;
    for (auto _ : state) {
        auto t0 = std::chrono::steady_clock::now();
        RunReplayer replay(r);
        RunReplayer::Result res = replay.begin();
        while (res == RunReplayer::Stepped) res = replay.step();
        seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
        allMatch = allMatch && res == RunReplayer::Finished;
    }
    double played = r.header.stepCount / 20.0;
    state.counters["steps"] = r.header.stepCount;
    state.counters["played_s"] = played;
    state.counters["all_match"] = allMatch;
    state.counters["pct_of_played_time"] = seconds / (double)state.iterations() / played * 100;
    setGameMode(nullptr);
}
BENCHMARK(BM_VerifyWholeRun)->Unit(benchmark::kMillisecond)->Iterations(5);

// One step of the committed run's play, without recording: the reference
// for what recording adds.
static void BM_StepOfTheWholeRun(benchmark::State& state) {
    Recording r;
    if (!loadWholeRun(&r, state)) return;
    setUpHeadless();
    std::vector<StepInput> inputs = wholeRunInputs(r);
    size_t i = 0;
    beginRecordedRun(r.header.seed);
    for (auto _ : state) {
        if (i == inputs.size()) {
            state.PauseTiming();
            beginRecordedRun(r.header.seed);
            i = 0;
            state.ResumeTiming();
        }
        runGameStep(inputs[i++], 0.05f);
    }
    setGameMode(nullptr);
}
BENCHMARK(BM_StepOfTheWholeRun)->Unit(benchmark::kMicrosecond);

// Adding one step's input to a recording, with the input of the committed run.
static void BM_RecordStepInput(benchmark::State& state) {
    Recording r;
    if (!loadWholeRun(&r, state)) return;
    std::vector<StepInput> inputs = wholeRunInputs(r);
    RecordingWriter w;
    w.begin(1);
    size_t i = 0;
    uint64_t allocs = qzAllocCount;
    for (auto _ : state) {
        if (w.header.stepCount == 72000) {  // an hour fits the reserved storage
            state.PauseTiming();
            w.begin(1);
            state.ResumeTiming();
        }
        w.addStep(inputs[i]);
        i = (i + 1) % inputs.size();
    }
    state.counters["allocations"] = (double)(qzAllocCount - allocs);
}
BENCHMARK(BM_RecordStepInput);

// A checkpoint: the whole simulation's fingerprint, with the given number
// of craters (7 x 7 cells through 18 layers) dug since the last one, or
// after a level build (-1).
static void BM_Checkpoint(benchmark::State& state) {
    setUpHeadless();
    beginRecordedRun(5);
    int strips = (int)state.range(0);  // craters
    for (auto _ : state) {
        state.PauseTiming();
        if (strips < 0) markLevelCellsChanged(0, 0, 0, LEVEL_SIZE_X - 1, LEVEL_SIZE_Y - 1, LEVEL_SIZE_Z - 1);
        for (int i = 0; i < strips; i++) markLevelCellsChanged(160 + 40 * i, 40, 0, 166 + 40 * i, 46, 17);
        state.ResumeTiming();
        benchmark::DoNotOptimize(takeCheckpoint(1));
    }
    setGameMode(nullptr);
}
BENCHMARK(BM_Checkpoint)->Arg(0)->Arg(20)->Arg(-1)->Unit(benchmark::kMicrosecond);

// Ten minutes (12,000 steps, a checkpoint every 100): the committed run's
// input over and over, and a worst case where every step changes the
// actions and all three aim coordinates.
static void BM_TenMinuteRecordingSize(benchmark::State& state) {
    Recording r;
    if (!loadWholeRun(&r, state)) return;
    std::vector<StepInput> inputs = wholeRunInputs(r);
    size_t played = 0, worst = 0;
    for (auto _ : state) {
        RecordingWriter a, b;
        a.begin(1);
        b.begin(1);
        for (uint32_t s = 1; s <= 12000; s++) {
            a.addStep(inputs[s % inputs.size()]);
            StepInput in = inputs[s % inputs.size()];
            in.held = s & 15;
            in.aimPoint = {(float)s * 0.37f, (float)s * 0.11f, 8.0f + (float)(s & 1), 1};
            b.addStep(in);
            if (s % 100 == 0) {
                a.addCheckpoint({s, 1, s * 77ull});
                b.addCheckpoint({s, 1, s * 77ull});
            }
        }
        a.finish();
        b.finish();
        played = (size_t)a.data.num + RecordingHeaderSize;
        worst = (size_t)b.data.num + RecordingHeaderSize;
    }
    state.counters["bytes_played_input"] = (double)played;
    state.counters["bytes_worst_case"] = (double)worst;
}
BENCHMARK(BM_TenMinuteRecordingSize)->Unit(benchmark::kMillisecond)->Iterations(1);
