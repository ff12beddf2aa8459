// game_recording: the program's side of recorded runs. "-record FILE" keeps
// every step the player plays and writes the file when the game ends;
// "-replay FILE" runs a recording in the window instead of the player, at
// a speed picked with the keys 1 to 4, until Esc.
#pragma once
#include <cstdint>
#include "step_input.h"

// Before start-up: the file can be written (else fatal, exit code 100).
void prepareRecording(const char* path);
// After start-up: a new game from level 1 whose steps are recorded.
void startRecording();
// Before start-up: loads the recording; a bad file is fatal (exit code 100).
void prepareReplay(const char* path);
// After start-up: the recorded run begins.
void startReplay();
bool replaying();

// The main loop's step while recording or replaying (else a plain step),
// with the player's live input; a replay takes only its view keys.
void recordedRunStep(const StepInput& live, float dt);
// Sim seconds for a frame drawn t wall seconds after the step.
float replayFrameTime(float t);
// The replay's speed and state over the frame.
void drawReplayOverlay();

// "Quit" on the end screen: a recording is saved with that step; a replay
// ends its run there. False when the program should quit as usual.
bool recordedRunQuit();
// Saves a recording in progress; at shutdown.
void finishRecording();
