// game_step: one fixed step of the game as the main loop runs it.
#pragma once
#include "step_input.h"

// The view actions of a step, live or paused, while the window is active:
// overlay, screenshot, the volume keys. True when a volume key was pressed.
bool viewActionsStep(const StepInput& in);
// One step from the given input: while the window is active, the view
// actions and the level actions (debug boxes, restart level, end level);
// then the current mode's update.
void runGameStep(const StepInput& in, float dt);
