// frame_bench: frame time of the real game on layout A at 1280 x 720 with
// normal and with fast voxels, and what a crater's invalidate-and-rebuild
// adds to a frame. Prints medians in milliseconds. Run under a display
// (bench/frame_bench.sh).
#include <algorithm>
#include <cstdio>
#include <vector>
#include "device.h"
#include "game_app.h"
#include "hero.h"
#include "qz_utils.h"
#include "services.h"
#include "shots.h"

static double frameMs() {
    int64_t t0 = timerNow();
    while (!renderFrame(0.025f)) {
    }
    presentFrame();
    return (double)ticksToUs(timerNow() - t0) / 1000.0;
}

static double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

static double medianFrames(int n) {
    std::vector<double> t;
    for (int i = 0; i < n; i++) t.push_back(frameMs());
    return median(t);
}

int main() {
    const char* args[] = {"game", "-720", "-novs"};
    startGame(3, args);
    medianFrames(20);  // warm-up: every chunk in view built once

    optFastVoxels = false;
    gameServices->invalidateVoxelCache();
    medianFrames(5);
    double normal = medianFrames(40);
    optFastVoxels = true;
    gameServices->invalidateVoxelCache();
    medianFrames(5);
    double fast = medianFrames(40);
    optFastVoxels = false;
    gameServices->invalidateVoxelCache();
    medianFrames(5);

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
    printf("frame, normal voxels: %.2f ms (median of 40)\n", normal);
    printf("frame, fast voxels:   %.2f ms (median of 40), %.2fx of normal\n", fast, fast / normal);
    printf("frame after a crater: %.2f ms against %.2f ms: the crater adds %.2f ms\n", median(crater), median(plain),
           median(crater) - median(plain));
    endGame();
    return 0;
}
