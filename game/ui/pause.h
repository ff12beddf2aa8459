// pause: the world stopped. While paused no step runs; the main loop hands
// the pause screen a tick at the step rate instead, and the scene is drawn
// unchanged and darkened under it. The pause screen holds the volumes, the
// focus-loss option, the Controls screen (rebinding), restart and quit.
#pragma once
#include <cstdint>
#include "gui.h"
#include "pad_focus.h"
#include "step_input.h"

struct PauseState {
    bool paused = false;
    bool pauseOnFocusLoss = true;  // settings value "pause_on_focus_loss"
    // Actions the pause screen leaves for the first step after it
    // ("Restart level"), so they reach the world through the step input.
    uint32_t pendingPressed = 0;
    GuiScreen* screen = nullptr;  // the pause or the Controls screen
    bool controls = false;        // screen is the Controls screen
    int waitingRow = -1;          // Controls: the action waiting for a key
    PadFocus focus;
};
// Program state: readPauseSettings at start-up sets the option; the rest
// follows pauseGame and resumeGame, never reset by a new game.
extern PauseState pauseState;

// "pause_on_focus_loss" from the settings; missing or not 0/1 keeps on.
void readPauseSettings();
void setPauseOnFocusLoss(bool on);

void pauseGame();
void resumeGame();
// The window lost the keyboard focus after having had it.
void focusLost();
// One tick of the pause screen in place of a step: its buttons and keys,
// the pad's focus, the view keys.
void pausedStep(const StepInput& in);
// The actions left for the next step, cleared.
uint32_t takePendingActions();

// The darkening and the screen, over the drawn scene.
void drawPauseScreen();
void pauseScreenResized();

// Button commands of the two screens.
enum {
    CmdResume = 1,
    CmdEffectsDown,
    CmdEffectsUp,
    CmdMusicDown,
    CmdMusicUp,
    CmdFocusLoss,
    CmdControls,
    CmdRestartLevel,
    CmdQuit,
    CmdDefaults,
    CmdBack,
    CmdBindRow = 100,  // + action
};
// Runs a command as a click would.
void pauseCommand(int32_t command);
