// Inputs: the counter (timerNow), window messages, the device's frame slots.
// State: step timing, the frame-statistics rings.
// Outputs: one gameStep per stepLength of counter time, frames in between
// with the lag since the last step, statistics for the overlay.
#include "main_loop.h"
#include <cstring>
#include "input.h"
#include "qz_utils.h"

FrameStats frameStats;
int32_t framesPerSecond;
bool quitRequested;

static MainLoopHost* host = nullptr;
static int64_t stepLength = 1;
static int32_t maxCatchUpSteps = 0;

static int64_t nextStepTime;
static int64_t stepStart;
static int64_t lastStepDuration;
static int64_t lastFrameStart;
static int64_t statsWindowStart;
static int32_t framesInWindow;

void setMainLoopHost(MainLoopHost* h) { host = h; }

void setStepRate(int32_t stepsPerSecond, int32_t maxCatchUp) {
    if (stepsPerSecond < 1) stepsPerSecond = 1;
    if (maxCatchUp < 0) maxCatchUp = 0;
    stepLength = timerFrequency() / stepsPerSecond;
    if (stepLength < 1) stepLength = 1;
    maxCatchUpSteps = maxCatchUp;
}

int64_t stepLengthTicks() { return stepLength; }
int64_t stepLengthUs() { return ticksToUs(stepLength); }

void pumpMessages() {
    if (host) host->pumpWindowMessages();
    refreshCursorInside();
}

static void recordPresentedFrame() {
    int64_t t = timerNow();
    int p = frameStats.framePosition;
    frameStats.frameTimeRing[p] = (int32_t)ticksToUs(t - lastFrameStart);
    int load = 0;
    frameStats.gpuLoadRing[p] = host->readGpuLoad(&load) ? load : -1;
    frameStats.framePosition = (p + 1) % FrameStatsEntries;
    framesInWindow++;
    if (t - statsWindowStart >= timerFrequency()) {
        framesPerSecond = framesInWindow;
        statsWindowStart = t;
        framesInWindow = 0;
    }
}

void MainLoop() {
    ASSERT(host);
    int32_t stepsSinceRender = 0;
    bool frameDrawn = false;
    nextStepTime = statsWindowStart = timerNow();
    framesInWindow = 0;
    lastStepDuration = 0;
    memset(&frameStats, 0, sizeof frameStats);

    enum Phase { StepPhase, FramePhase, End };
    Phase phase = quitRequested ? End : StepPhase;
    while (phase != End) {
        if (phase == StepPhase && host->paused()) {
            pumpMessages();
            host->pausedTick();
            inputEndStep();
            phase = quitRequested ? End : FramePhase;
            continue;
        }
        if (phase == StepPhase) {
            int p = frameStats.updatePosition;
            frameStats.updateTimeRing[p] = (int32_t)ticksToUs(lastStepDuration);
            frameStats.updatePosition = (p + 1) % FrameStatsEntries;
            pumpMessages();
            stepStart = timerNow();
            host->step(ticksToSeconds(stepLength));
            lastStepDuration = timerNow() - stepStart;
            inputEndStep();
            phase = quitRequested ? End : FramePhase;
            continue;
        }

        if (frameDrawn) {
            host->presentFrame();
            frameDrawn = false;
            recordPresentedFrame();
        }
        pumpMessages();
        int64_t now = timerNow();
        int64_t lag = now - nextStepTime;
        if (lag < 0) {
            // The counter went back behind the step time: restart timing from now.
            lag = 0;
            nextStepTime = now;
        }
        if (lag >= stepLength) {
            stepsSinceRender++;
            if (stepsSinceRender <= maxCatchUpSteps) {
                nextStepTime += stepLength;
                phase = quitRequested ? End : StepPhase;
                continue;
            }
        }
        frameDrawn = host->renderFrame(ticksToSeconds(lag));
        if (frameDrawn) lastFrameStart = now;
        if (stepsSinceRender > maxCatchUpSteps) {
            // Too far behind: drop the backlog rather than spiral.
            stepsSinceRender = 0;
            nextStepTime = timerNow();
            phase = quitRequested ? End : StepPhase;
        } else {
            stepsSinceRender = -1;
            phase = quitRequested ? End : FramePhase;
        }
    }

    if (frameDrawn) host->presentFrame();
    inputEndStep();
}
