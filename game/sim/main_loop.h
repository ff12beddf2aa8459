// main_loop: the game's only loop. Fixed simulation steps of stepLength
// ticks, frames drawn as often as the device takes them, frame statistics
// for the performance overlay.
#pragma once
#include <cstdint>
#include "qz_math.h"

// The simulation's fixed rate and how many steps one pass of the loop may
// catch up after a hitch.
enum { STEPS_PER_SECOND = 20, MAX_CATCH_UP_STEPS = 5 };

// A value between the last two steps for a frame drawn t seconds after the
// last step: previous at t = 0, current one step later.
inline Vec4 interpolateStep(Vec4 previous, Vec4 current, float t) {
    return previous + (current - previous) * (t * (float)STEPS_PER_SECOND);
}

// The window, the game and the device as the loop sees them. The program
// installs the real one; tests install a scripted clock and a fake renderer.
struct MainLoopHost {
    virtual ~MainLoopHost() {}
    // Dispatches every queued window message; a quit sets quitRequested.
    virtual void pumpWindowMessages() = 0;
    // One fixed step of the game (gameStep).
    virtual void step(float dt) = 0;
    // While the game is paused the loop calls pausedTick at the step rate
    // instead of step, and leaves the update times alone.
    virtual bool paused() { return false; }
    virtual void pausedTick() {}
    // Draws a frame t seconds after the last step's nominal time; false when
    // the device took no frame.
    virtual bool renderFrame(float t) = 0;
    virtual void presentFrame() = 0;
    // Graphics processor activity in percent; false when not available.
    virtual bool readGpuLoad(int* percent) = 0;
};

void setMainLoopHost(MainLoopHost* host);

enum { FrameStatsEntries = 200 };

// Rings of the last 200 values, read by the performance overlay. Cleared
// when MainLoop starts.
struct FrameStats {
    int32_t updateTimeRing[FrameStatsEntries];  // microseconds each step took, one per step
    int32_t frameTimeRing[FrameStatsEntries];   // microseconds from drawing start to end of present
    int32_t gpuLoadRing[FrameStatsEntries];     // percent, -1 when not available
    int updatePosition;                         // next entry of updateTimeRing
    int framePosition;                          // next entry of the two frame rings
};

// Loop state: frameStats cleared when MainLoop starts; framesPerSecond
// counted each whole second; quitRequested false from start-up until the quit.
extern FrameStats frameStats;
extern int32_t framesPerSecond;  // frames presented in the last whole second
extern bool quitRequested;       // set by the window's quit; ends MainLoop

// Rate below 1 counts as 1, a negative catch-up limit as 0.
void setStepRate(int32_t stepsPerSecond, int32_t maxCatchUp);
int64_t stepLengthTicks();
int64_t stepLengthUs();

// Takes every queued window message, then refreshes whether the pointer is
// over the window.
void pumpMessages();

// Runs steps and frames until quitRequested. Steps are spaced by exactly
// stepLength of counter time while the machine keeps up; after a drawn
// frame at most maxCatchUp + 1 steps run before a frame is forced, and a
// larger backlog is dropped.
void MainLoop();
