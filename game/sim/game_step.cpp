#include "game_step.h"
#include "game_mode.h"
#include "services.h"
#include "sound.h"
#include "world.h"

StepInput stepInput = {0, 0, 0, {0, 0, 0, 1}, true, 0, {}, false};

bool viewActionsStep(const StepInput& in) {
    if (!in.windowActive) return false;
    if (in.pressed & ActionOverlay) hostServices->togglePerfOverlay();
    // The window system reports Print Screen only as a release.
    if (in.released & ActionScreenshot) hostServices->takeScreenshot();
    uint32_t volume = in.pressed & (ActionVolumeDown | ActionVolumeUp | ActionMute);
    volumeActionsStep(volume);
    return volume != 0;
}

void runGameStep(const StepInput& in, float dt) {
    stepInput = in;
    if (in.windowActive) {
        viewActionsStep(in);
        if (in.pressed & ActionDebugBoxes) showDebugBoxes = !showDebugBoxes;
        if (in.pressed & ActionRestartLevel) restartLevel();
        if (in.pressed & ActionEndLevel) levelExitReached = true;
    }
    if (currentMode) currentMode->update(dt);
}

bool noteGuiCommand(int32_t n) {
    if (stepInput.guiFromRecord) return true;  // already in the record
    if (stepInput.numGuiCommands >= MaxStepGuiCommands) return false;
    stepInput.guiCommands[stepInput.numGuiCommands++] = n;
    return true;
}
