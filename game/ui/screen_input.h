// screen_input: the screen that takes the player's input now - the pause or
// Controls screen while paused, else the upgrade or end screen of the
// current mode - and whether a pointer press lands on one of its buttons.
#pragma once
#include "gui.h"

// Null while no screen is shown (play, the lift, game over).
GuiScreen* screenTakingInput();
// A shown button of that screen lies under (x, y).
bool pressOnScreenButton(float x, float y);
// Lets the step input ask pressOnScreenButton (pressLandsOnScreenButton).
void connectScreenInput();
