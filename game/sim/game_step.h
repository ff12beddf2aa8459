// game_step: one fixed step of the game as the main loop runs it.
#pragma once
#include "step_input.h"

// One step from the given input: while the window is active, the level and
// view actions (overlay, debug boxes, screenshot, restart level, end
// level); then the current mode's update.
void runGameStep(const StepInput& in, float dt);
// The live step: the input read from the keys and the pointer
// (readStepInputFromKeys), then runGameStep.
void gameStep(float dt);
