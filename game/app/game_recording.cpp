// game_recording: -record and -replay in the game window.
#include "game_recording.h"
#include <cstdio>
#include <cstring>
#include "atomic_file.h"
#include "camera.h"
#include "font.h"
#include "hero.h"
#include "game_step.h"
#include "input.h"
#include "main_loop.h"
#include "qz_utils.h"
#include "random.h"
#include "recorded_run.h"
#include "services.h"
#include "state_hash.h"

static struct {
    RunRecorder recorder;
    FixedString<QZ_MAX_PATH> path;
    Recording recording;
    RunReplayer* replayer;
    RunReplayer::Result state;  // Stepped while the replay runs
    int32_t speedKey;           // 1 to 4: a quarter, once, twice, four times
    bool quitInStep;
    FixedString<256> message;
} rec;

static const int32_t replayRates[5] = {0, 5, 20, 40, 80};  // steps per second by speed key

void prepareRecording(const char* path) {
    // Found out now, not after the run, without writing anything.
    char reason[128];
    if (!atomicFileTarget(path, reason, sizeof reason)) fatalError("can't record to '%s': %s", path, reason);
    rec.path.assign(path);
}

void startRecording() {
    // The seed the clock gave at start-up; layout A draws nothing from it.
    rec.recorder.begin(gameRandom.state);
    logMessage("recording to '%s'", rec.path.c_str());
}

void prepareReplay(const char* path) {
    rec.path.assign(path);
    FixedString<256> error;
    if (!loadRecording(path, &rec.recording, &error)) fatalError("can't replay '%s': %s", path, error.c_str());
}

void startReplay() {
    rec.replayer = new RunReplayer(rec.recording);
    rec.speedKey = 2;
    rec.state = rec.replayer->begin();
    logMessage("replaying '%s': %u steps, %u checkpoints", rec.path.c_str(), rec.recording.header.stepCount,
               rec.recording.header.checkpointCount);
}

bool replaying() { return rec.replayer != nullptr; }

static void reportReplayEnd() {
    if (rec.state == RunReplayer::Mismatch) {
        FixedString<256> line;
        describeMismatch(*rec.replayer, &line);
        logMessage("replay: %s", line.c_str());
        rec.message.format("REPLAY DIFFERS AT STEP %u", rec.replayer->found.step);
    } else if (rec.state == RunReplayer::Finished) {
        FixedString<256> overrun;
        if (describeOverrun(*rec.replayer, rec.replayer->stepsRun, &overrun)) logMessage("replay: %s", overrun.c_str());
        else logMessage("replay: end of the recording, %u checkpoints, all match", rec.replayer->checkpointsMatched);
        rec.message.assign("END OF REPLAY");
    }
}

// The crosshair shows where the recorded player aimed: the aim point
// through this step's camera, as a pointer move.
static void showRecordedAim() {
    Vec4 c = transform(hero.aimPoint, camera.stepViewProjection);
    if (c.w <= 0) return;
    float W = (float)camera.width, H = (float)camera.height;
    float mx = (c.x / c.w + 1) * W / 2, my = H - 1 - (c.y / c.w + 1) * H / 2;
    pushInput(InputMove, 0, 0, 0, mx, my);
}

static void replayStep(const StepInput& live) {
    // Only Esc and the speed keys are the player's during a replay; the
    // screenshot and overlay keys still work, as they change nothing.
    if (keyPressed(VK_ESCAPE)) {
        quitRequested = true;
        return;
    }
    for (int k = 1; k <= 4; k++)
        if (keyPressed('0' + k) && rec.speedKey != k) {
            rec.speedKey = k;
            setStepRate(replayRates[k], 5);
            logMessage("replay speed: %s", k == 1 ? "1/4" : (k == 2 ? "1" : (k == 3 ? "2" : "4")));
        }
    if (rec.state != RunReplayer::Stepped) {
        // The last state stays on the screen, and can still be shot.
        if (live.released & ActionScreenshot) hostServices->takeScreenshot();
        if (live.pressed & ActionOverlay) hostServices->togglePerfOverlay();
        return;
    }
    rec.state = rec.replayer->step(live.pressed, live.released);
    showRecordedAim();
    if (rec.quitInStep) {
        // "Quit" ends the recording; its last checkpoint was checked with the step.
        quitRequested = true;
        if (rec.state == RunReplayer::Stepped) rec.state = RunReplayer::Finished;
    }
    reportReplayEnd();
}

void recordedRunStep(const StepInput& in, float dt) {
    if (rec.replayer) {
        replayStep(in);
        return;
    }
    int32_t modeBefore = currentModeNumber();
    runGameStep(in, dt);
    rec.recorder.afterStep(modeBefore);
}

float replayFrameTime(float t) {
    if (!rec.replayer) return t;
    if (rec.state != RunReplayer::Stepped) return 0;  // nothing moves on after the end
    return t * (float)replayRates[rec.speedKey] / (float)STEPS_PER_SECOND;
}

void drawReplayOverlay() {
    if (!rec.replayer) return;
    static const char* const speeds[5] = {"", "1/4x", "1x", "2x", "4x"};
    FixedString<300> line;
    if (rec.state == RunReplayer::Stepped) line.format("REPLAY %s  (1-4 speed, Esc ends)", speeds[rec.speedKey]);
    else line.format("%s  (Esc ends)", rec.message.c_str());
    // Bottom left, clear of the hearts.
    drawText(line, -1, 9, 7, -1, -1, 0xFF000000u);
    drawText(line, -1, 8, 8, -1, -1, 0xFFFFF000u);
}

bool recordedRunQuit() {
    if (rec.replayer) {
        rec.quitInStep = true;
        return true;
    }
    if (rec.recorder.active) {
        rec.recorder.finish(true);
        finishRecording();
    }
    return false;
}

void finishRecording() {
    if (rec.path.length() == 0 || rec.replayer) return;
    if (rec.recorder.active) rec.recorder.finish(false);
    if (!rec.recorder.writer.isFinished()) return;
    FixedString<256> error;
    const RecordingHeader& h = rec.recorder.writer.header;
    FixedString<QZ_MAX_PATH> path = rec.path;
    rec.path.assign("");  // saved once, also when the fatal path shuts down again
    // A run recorded and then lost is a failure, not a normal end.
    if (!rec.recorder.writer.save(path, &error)) fatalError("can't save the recording: %s", error.c_str());
    logMessage("recording saved to '%s': %u steps, %u checkpoints, %u bytes", path.c_str(), h.stepCount,
               h.checkpointCount, h.dataSize + (uint32_t)RecordingHeaderSize);
}
