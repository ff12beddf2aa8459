#include "game_step.h"
#include "camera.h"
#include "game_mode.h"
#include "input.h"
#include "services.h"
#include "sound.h"
#include "world.h"

void gameStep(float dt) {
    if (gameServices->windowActive()) {
        if (keyPressed(VK_F1)) gameServices->togglePerfOverlay();
        if (keyPressed(VK_F4)) showDebugBoxes = !showDebugBoxes;
        // The window system reports Print Screen only as a release.
        if (keyReleased(VK_SNAPSHOT)) gameServices->takeScreenshot();
        if (keyPressed(VK_ESCAPE)) restartLevel();
        if (keyPressed(VK_F3)) levelExitReached = true;
        volumeKeysStep();
    }
    updateStepCamera();
    if (currentMode) currentMode->update(dt);
}
