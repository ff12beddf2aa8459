#include "game_step.h"
#include "game_mode.h"
#include "services.h"
#include "sound.h"
#include "world.h"

void runGameStep(const StepInput& in, float dt) {
    stepInput = in;
    if (in.windowActive) {
        if (in.pressed & ActionOverlay) gameServices->togglePerfOverlay();
        if (in.pressed & ActionDebugBoxes) showDebugBoxes = !showDebugBoxes;
        // The window system reports Print Screen only as a release.
        if (in.released & ActionScreenshot) gameServices->takeScreenshot();
        if (in.pressed & ActionRestartLevel) restartLevel();
        if (in.pressed & ActionEndLevel) levelExitReached = true;
        volumeActionsStep(in.pressed);
    }
    if (currentMode) currentMode->update(dt);
}

void gameStep(float dt) { runGameStep(readStepInputFromKeys(), dt); }
