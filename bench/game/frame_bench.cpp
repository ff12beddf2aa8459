// frame_bench: frame times of the real game on layout A at the start
// position, started with the given game options (size, anti-aliasing).
// Prints, in milliseconds:
//   frame WxH[ aa]: p50 X ms, p99 Y ms, T triangles, D draws
//   empty frame WxH: p50 X ms        (no mode: clear, passes, present)
//   crater: +X ms                    (median extra time of a frame right
//                                     after a crater; 0 when negative)
// Run under a display through bench/frame_bench.sh.
#include <algorithm>
#include <cstdio>
#include <vector>
#include "device.h"
#include "game_app.h"
#include "game_mode.h"
#include "hero.h"
#include "qz_utils.h"
#include "services.h"
#include "shots.h"

enum { FRAMES = 240 };

static double frameMs() {
    int64_t t0 = timerNow();
    while (!renderFrame(0.025f)) {
    }
    presentFrame();
    return (double)ticksToUs(timerNow() - t0) / 1000.0;
}

static double percentile(std::vector<double> v, int p) {
    std::sort(v.begin(), v.end());
    size_t i = (v.size() * (size_t)p) / 100;
    return v[i < v.size() ? i : v.size() - 1];
}

static std::vector<double> frames(int n) {
    std::vector<double> t;
    for (int i = 0; i < n; i++) t.push_back(frameMs());
    return t;
}

int main(int argc, char** argv) {
    std::vector<const char*> args = {"game", "-novs"};
    for (int i = 1; i < argc; i++) args.push_back(argv[i]);
    startGame((int)args.size(), args.data());
    int W = deviceWidth(), H = deviceHeight();
    const char* aa = deviceSampleCount() > 0 ? " aa" : "";
    frames(20);  // warm-up: every chunk in view built once

    uint64_t draws = deviceDrawCount(), triangles = deviceTriangleCount();
    std::vector<double> t = frames(FRAMES);
    draws = (deviceDrawCount() - draws) / FRAMES;
    triangles = (deviceTriangleCount() - triangles) / FRAMES;
    printf("frame %dx%d%s: p50 %.2f ms, p99 %.2f ms, %llu triangles, %llu draws\n", W, H, aa, percentile(t, 50),
           percentile(t, 99), (unsigned long long)triangles, (unsigned long long)draws);

    // Craters walking up the first pillar, each followed by one frame.
    std::vector<double> crater, plain;
    Shot shot = {{100, 60, 8, 1}, {200, 0, 0, 0}, 0, 1, &hero};
    for (int i = 0; i < 30; i++) {
        plain.push_back(frameMs());
        int64_t t0 = timerNow();
        digCrater(shot, 162 + (i % 6) * 2, 36 + (i / 6) * 10);
        double dig = (double)ticksToUs(timerNow() - t0) / 1000.0;
        crater.push_back(dig + frameMs());
    }
    double extra = percentile(crater, 50) - percentile(plain, 50);

    setGameMode(nullptr);
    frames(10);
    double empty = percentile(frames(FRAMES), 50);
    printf("empty frame %dx%d%s: p50 %.2f ms\n", W, H, aa, empty);
    printf("crater: +%.2f ms\n", extra > 0 ? extra : 0.0);
    endGame();
    return 0;
}
