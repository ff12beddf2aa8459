// game_fps: runs the real game (layout A, the hero standing at the start)
// for a number of seconds and prints the figures the performance overlay
// shows: frames per second, and frame and update times in microseconds.
// Usage: game_fps SECONDS [game options...], under a display.
#include <cstdio>
#include <cstdlib>
#include "game_app.h"
#include "main_loop.h"
#include "qz_utils.h"

struct TimedHost : MainLoopHost {
    MainLoopHost* game;
    int64_t end;
    void pumpWindowMessages() override {
        game->pumpWindowMessages();
        if (timerNow() >= end) quitRequested = true;
    }
    void step(float dt) override { game->step(dt); }
    bool renderFrame(float t) override { return game->renderFrame(t); }
    void presentFrame() override { game->presentFrame(); }
    bool readGpuLoad(int* percent) override { return game->readGpuLoad(percent); }
};

static void figures(const char* name, const int32_t* ring) {
    int64_t sum = 0;
    int32_t lo = ring[0], hi = ring[0];
    for (int i = 0; i < FrameStatsEntries; i++) {
        sum += ring[i];
        if (ring[i] < lo) lo = ring[i];
        if (ring[i] > hi) hi = ring[i];
    }
    printf("%s: min %d us, average %d us, max %d us\n", name, lo, (int)((sum + 100) / 200), hi);
}

int main(int argc, char** argv) {
    if (argc < 2) {
        fprintf(stderr, "usage: game_fps SECONDS [game options...]\n");
        return 2;
    }
    int seconds = atoi(argv[1]);
    const char* args[16] = {"game"};
    int n = 1;
    for (int i = 2; i < argc && n < 16; i++) args[n++] = argv[i];
    startGame(n, args);
    TimedHost host;
    host.game = gameLoopHost();
    host.end = timerNow() + msToTicks(1000LL * (seconds > 2 ? seconds : 2));
    setMainLoopHost(&host);
    MainLoop();
    printf("frames per second: %d\n", framesPerSecond);
    figures("frame time", frameStats.frameTimeRing);
    figures("update time", frameStats.updateTimeRing);
    endGame();
    return 0;
}
