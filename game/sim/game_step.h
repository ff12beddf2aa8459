// game_step: one fixed step of the game as the main loop runs it.
#pragma once

// While the window is active, the function keys (F1 overlay, F4 debug boxes,
// Print Screen screenshot, Esc restart level, F3 end level); then the step's
// camera, then the current mode's update.
void gameStep(float dt);
