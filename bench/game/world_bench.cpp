// One worldUpdate of layout A with its seven robots, 100 live shots and
// 2,000 particles, as a share of the 50 ms step.
#include <benchmark/benchmark.h>
#include <chrono>
#include "hero.h"
#include "level.h"
#include "progress.h"
#include "random.h"
#include "robots.h"
#include "shots.h"
#include "world.h"

// Shots circling in the open corridor above the ceiling and particles
// flying high above the floor, refilled to full counts outside the timing.
static void refill() {
    while (shots.num < 100) {
        float i = (float)shots.num;
        spawnShot(1, &hero, {200 + 30 * i, 150 + (float)(shots.num % 5) * 10, 8, 1}, {200, 0, 0, 0}, 0xFF14FF14);
    }
    while (particles.num < 2000) {
        float i = (float)particles.num;
        spawnParticle({100 + i, 200, 8, 1}, {gameRandom.nextSigned() * 70, gameRandom.nextUnit() * 150, 0, 0},
                      0xFFCCCCCC, 10.0f);
    }
}

static void BM_WorldUpdateLayoutA(benchmark::State& state) {
    gameRandom.seed(7);
    newGame();
    setGameMode(&playMode);
    double seconds = 0;
    for (auto _ : state) {
        state.PauseTiming();
        if (robots.num < 7 || hero.health <= 0 || currentMode != &playMode) {
            newGame();
            setGameMode(&playMode);
        }
        for (Shot& s : shots) s.position.x = s.position.x > 3000 ? 200 : s.position.x;
        refill();
        state.ResumeTiming();
        auto t0 = std::chrono::steady_clock::now();
        worldUpdate(0.05f);
        seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    }
    state.counters["shots"] = shots.num;
    state.counters["particles"] = particles.num;
    state.counters["robots"] = robots.num;
    double perStep = seconds / (double)state.iterations();
    state.counters["us_per_step"] = perStep * 1e6;
    state.counters["pct_of_50ms_step"] = perStep / 0.05 * 100;
    setGameMode(nullptr);
}
BENCHMARK(BM_WorldUpdateLayoutA)->Unit(benchmark::kMicrosecond);
