// Level building against a plain fill of the same 20 MiB, and the robots'
// step on layout B. Ratios are taken within one run.
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstring>
#include "level.h"
#include "random.h"
#include "robots.h"

typedef std::chrono::steady_clock Clock;

static double secondsOf(Clock::time_point a, Clock::time_point b) { return std::chrono::duration<double>(b - a).count(); }

static void buildAgainstMemset(benchmark::State& state, int level) {
    levelNumber = level;
    gameRandom.seed(1);
    double build = 0, fill = 0;
    for (auto _ : state) {
        Clock::time_point t0 = Clock::now();
        memset(levelGrid, (int)(t0.time_since_epoch().count() & 1), LEVEL_CELLS);
        benchmark::ClobberMemory();
        Clock::time_point t1 = Clock::now();
        buildLevel();
        benchmark::ClobberMemory();
        Clock::time_point t2 = Clock::now();
        fill += secondsOf(t0, t1);
        build += secondsOf(t1, t2);
    }
    state.counters["memset_ms"] = fill * 1e3 / (double)state.iterations();
    state.counters["build_ms"] = build * 1e3 / (double)state.iterations();
    state.counters["build_per_memset"] = build / fill;
}

static void BM_BuildLevelA(benchmark::State& state) { buildAgainstMemset(state, 1); }
static void BM_BuildLevelB(benchmark::State& state) { buildAgainstMemset(state, 2); }
BENCHMARK(BM_BuildLevelA)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BuildLevelB)->Unit(benchmark::kMillisecond);

static void BM_RobotsStepLayoutB(benchmark::State& state) {
    levelNumber = 2;
    gameRandom.seed(1);
    buildLevel();
    int n = 0;
    for (auto _ : state) {
        robotsStep(0.05f);
        // Rebuild now and then so the ten robots keep walking their platforms.
        if (++n == 2000) {
            state.PauseTiming();
            buildLevel();
            n = 0;
            state.ResumeTiming();
        }
    }
    state.counters["robots"] = (double)robots.num;
}
BENCHMARK(BM_RobotsStepLayoutB)->Unit(benchmark::kMicrosecond);
