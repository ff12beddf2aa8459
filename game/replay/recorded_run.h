// recorded_run: playing a run into a recording, and running a recording
// again - in the window, or headless to check that the game still plays it
// step for step the same.
#pragma once
#include <cstring>
#include "gui.h"
#include "recording.h"

// The simulation as a freshly started program has it, with gameRandom
// seeded from seed: hero as at program start, a new game, level 1 built,
// the play mode current. Screens left by an earlier run are dropped.
void beginRecordedRun(uint64_t seed);

// A checkpoint follows step n (steps counted from 1) when n is a multiple
// of 100 or the step changed the mode. The run's start and end have one too.
const uint32_t CheckpointInterval = 100;
Checkpoint takeCheckpoint(uint32_t stepsRun);

// Records a run as it is played.
class RunRecorder {
public:
    RecordingWriter writer;
    uint32_t stepsRun = 0;
    uint32_t lastCheckpointStep = 0;
    bool active = false;

    // beginRecordedRun(seed), then the header and the start checkpoint.
    void begin(uint64_t seed);
    // After every step: the input it ran with (stepInput, holding the screen
    // commands it gave) and a checkpoint when one is due.
    void afterStep(int32_t modeBefore);
    // Ends the recording with a checkpoint of the state now. A step cut
    // short by "Quit" is recorded first (stepInProgress).
    void finish(bool stepInProgress);
};

// Runs a parsed recording step by step.
class RunReplayer {
public:
    enum Result { Stepped, Finished, Mismatch };

    const Recording& recording;
    uint32_t stepsRun = 0;
    uint32_t checkpointsMatched = 0;
    uint32_t lastMatchedStep = 0;
    Checkpoint expected = {}, found = {};  // of the checkpoint that differed
    // Called for every checkpoint compared (the -verify lines).
    void (*onCheckpoint)(const Checkpoint& expected, const Checkpoint& found) = nullptr;

    explicit RunReplayer(const Recording& r);
    // beginRecordedRun with the recording's seed; checks the start checkpoint.
    Result begin();
    // Runs the next recorded step (with extra view-only actions the caller
    // adds, such as a screenshot) and checks the checkpoints after it.
    // Finished once the recording is through; Mismatch sticks.
    Result step(uint32_t viewPressed = 0, uint32_t viewReleased = 0);

private:
    RecordingCursor cursor;
    RecordingCursor::Item nextItem;
    StepInput nextInput;
    Checkpoint nextCheckpoint;
    bool mismatched = false;
    void readAhead();
    Result checkCheckpoints();
};

// A line naming the first mismatch: the checkpoint's step, the steps in
// which the run parted, the modes and fingerprints.
void describeMismatch(const RunReplayer& r, FixedString<256>* out);

// -verify: runs the recording with the do-nothing services and a GUI
// renderer that only measures, as fast as it goes; one line per checkpoint,
// then "verify: N checkpoints, all match" (0) or the first mismatch (1). A
// file that cannot be replayed is fatal: a message naming it, exit code 100.
int verifyRecordingFile(const char* path);

// Lays screens out as a 1280 x 720 window with an 8-pixel font would, and
// draws nothing: -verify's screens take their commands from the recording.
struct MeasuringGuiRenderer : IGuiRenderer {
    int32_t width() override { return 1280; }
    int32_t height() override { return 720; }
    int32_t unit() override { return 8; }
    void fillRect(float, float, float, float, uint32_t) override {}
    void frameRect(float, float, float, float, uint32_t) override {}
    void drawText(const char*, int, float, float, int, int, uint32_t, int) override {}
    void measureText(const char* text, int len, float* w, float* h, int scale) override {
        *w = (float)(6 * scale * (len < 0 ? (int)strlen(text) : len));
        *h = (float)(8 * scale);
    }
};
