// recorded_run: recording a played run, replaying a recording, -verify.
#include "recorded_run.h"
#include "main_loop.h"
#include <cstring>
#include "game_step.h"
#include "gui_behaviour.h"
#include "hero.h"
#include "progress.h"
#include "random.h"
#include "robots.h"
#include "screen_build.h"
#include "screen_modes.h"
#include "services.h"
#include "shots.h"
#include "run_state.h"
#include "state_hash.h"
#include "world.h"

const float RecordedStepSeconds = 1.0f / STEPS_PER_SECOND;

void beginRecordedRun(uint64_t seed) {
    registerScreenModes();
    setGameMode(nullptr);
    ScreenGameMode* screens[] = {&upgradeModeObject(), &endDemoModeObject()};
    for (ScreenGameMode* m : screens) {
        delete m->scr;
        m->scr = nullptr;
    }
    resetRunState(seed);
}

Checkpoint takeCheckpoint(uint32_t stepsRun) { return {stepsRun, currentModeNumber(), hashWholeSimulation()}; }

//---------------------------------------------------------------------------
// Recording
//---------------------------------------------------------------------------

void RunRecorder::begin(uint64_t seed) {
    beginRecordedRun(seed);
    writer.begin(seed);
    stepsRun = 0;
    lastCheckpointStep = 0;
    active = true;
    writer.addCheckpoint(takeCheckpoint(0));
}

void RunRecorder::afterStep(int32_t modeBefore) {
    if (!active) return;
    writer.addStep(stepInput);
    stepsRun++;
    if (stepsRun % CheckpointInterval == 0 || currentModeNumber() != modeBefore) {
        writer.addCheckpoint(takeCheckpoint(stepsRun));
        lastCheckpointStep = stepsRun;
    }
}

void RunRecorder::finish(bool stepInProgress) {
    if (!active) return;
    if (stepInProgress) {
        writer.addStep(stepInput);
        stepsRun++;
    }
    if (stepsRun != lastCheckpointStep) writer.addCheckpoint(takeCheckpoint(stepsRun));
    writer.finish();
    active = false;
}

//---------------------------------------------------------------------------
// Replaying
//---------------------------------------------------------------------------

RunReplayer::RunReplayer(const Recording& r)
    : recording(r), cursor(r.data.data, (size_t)r.data.num), nextItem(RecordingCursor::ItemEnd) {}

void RunReplayer::readAhead() {
    FixedString<256> error;
    nextItem = cursor.next(&nextInput, &nextCheckpoint, &error);
    // parseRecording walked the whole stream already.
    ASSERT(nextItem!=RecordingCursor::ItemDamaged);
}

RunReplayer::Result RunReplayer::checkCheckpoints() {
    while (nextItem == RecordingCursor::ItemCheckpoint) {
        Checkpoint c = takeCheckpoint(stepsRun);
        if (onCheckpoint) onCheckpoint(nextCheckpoint, c);
        if (c.mode != nextCheckpoint.mode || c.hash != nextCheckpoint.hash) {
            expected = nextCheckpoint;
            found = c;
            mismatched = true;
            return Mismatch;
        }
        checkpointsMatched++;
        lastMatchedStep = stepsRun;
        readAhead();
    }
    return nextItem == RecordingCursor::ItemEnd ? Finished : Stepped;
}

RunReplayer::Result RunReplayer::begin() {
    beginRecordedRun(recording.header.seed);
    readAhead();
    return checkCheckpoints();
}

RunReplayer::Result RunReplayer::step(uint32_t viewPressed, uint32_t viewReleased) {
    if (mismatched) return Mismatch;
    if (nextItem != RecordingCursor::ItemStep) return Finished;
    StepInput in = nextInput;
    in.pressed |= viewPressed & ~SimulationActions;
    in.released |= viewReleased & ~SimulationActions;
    runGameStep(in, RecordedStepSeconds);
    stepsRun++;
    readAhead();
    Result r = checkCheckpoints();
    return r == Finished ? Stepped : r;
}

void describeMismatch(const RunReplayer& r, FixedString<256>* out) {
    FixedString<64> where;
    if (r.found.step == 0) where.assign("at its start");
    else if (r.found.step == r.lastMatchedStep + 1) where.format("in step %u", r.found.step);
    else where.format("somewhere in steps %u to %u", r.lastMatchedStep + 1, r.found.step);
    out->format("the run differs at the checkpoint of step %u (%s): %s, %016llx; the recording has %s, %016llx",
                r.found.step, where.c_str(), modeNumberName(r.found.mode), (unsigned long long)r.found.hash,
                modeNumberName(r.expected.mode), (unsigned long long)r.expected.hash);
}

//---------------------------------------------------------------------------
// -verify
//---------------------------------------------------------------------------

// "Quit" ends the replayed run; the verifier reports after it.
struct VerifyServices : HostServices {
    void quitGame() override {}
};

static void printCheckpointLine(const Checkpoint& expected, const Checkpoint& found) {
    bool same = expected.mode == found.mode && expected.hash == found.hash;
    logMessage("checkpoint at step %u: %s %016llx %s", found.step, modeNumberName(found.mode),
               (unsigned long long)found.hash, same ? "matches" : "DIFFERS");
}

int verifyRecordingFile(const char* path) {
    Recording rec;
    FixedString<256> error;
    if (!loadRecording(path, &rec, &error)) fatalError("can't replay '%s': %s", path, error.c_str());

    static MeasuringGuiRenderer measuring;
    static VerifyServices services;
    IGuiRenderer* savedRenderer = gameGuiRenderer;
    HostServices* savedServices = hostServices;
    if (!gameGuiRenderer) gameGuiRenderer = &measuring;
    setHostServices(&services);
    registerStandardBehaviours();

    int64_t t0 = timerNow();
    RunReplayer replay(rec);
    replay.onCheckpoint = printCheckpointLine;
    RunReplayer::Result r = replay.begin();
    while (r == RunReplayer::Stepped) r = replay.step();
    double seconds = ticksToSeconds(timerNow() - t0);

    int code;
    if (r == RunReplayer::Mismatch) {
        describeMismatch(replay, &error);
        logMessage("verify: %s", error.c_str());
        code = 1;
    } else {
        logMessage("verify: %u steps (%.1f s of play) in %.2f s", replay.stepsRun, replay.stepsRun / (double)STEPS_PER_SECOND, seconds);
        logMessage("verify: %u checkpoints, all match", replay.checkpointsMatched);
        code = 0;
    }
    setGameMode(nullptr);
    setHostServices(savedServices);
    gameGuiRenderer = savedRenderer;
    return code;
}
