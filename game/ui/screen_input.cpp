#include "screen_input.h"
#include "game_mode.h"
#include "input_sampling.h"
#include "pause.h"
#include "screen_modes.h"
#include "world.h"

GuiScreen* screenTakingInput() {
    if (pauseState.paused) return pauseState.screen;
    if (currentMode && currentMode == upgradeMode) return upgradeModeObject().scr;
    if (currentMode && currentMode == endDemoMode) return endDemoModeObject().scr;
    return nullptr;
}

bool pressOnScreenButton(float x, float y) {
    GuiScreen* s = screenTakingInput();
    GuiBox* hit = s ? hitTest(s->root, x, y) : nullptr;
    while (hit && !hit->commandId) hit = hit->parent;
    return hit && isShown(hit);
}

void connectScreenInput() { pressLandsOnScreenButton = pressOnScreenButton; }
