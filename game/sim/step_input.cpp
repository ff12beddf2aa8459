// step_input: the step's input record and its filling from the fixed keys.
#include "step_input.h"
#include "camera.h"
#include "hero.h"
#include "input.h"
#include "services.h"

StepInput stepInput = {0, 0, 0, {0, 0, 0, 1}, true, 0, {}, false};

// Which keys give which action; a key may serve several actions.
static const struct {
    uint32_t action;
    int keys[4];  // virtual-key codes, 0 ends the list
} keyTable[] = {
    {ActionRunLeft, {'A', VK_LEFT}},
    {ActionRunRight, {'D', VK_RIGHT}},
    {ActionJump, {'W', VK_UP, VK_SPACE}},
    {ActionFire, {VK_LBUTTON, VK_RBUTTON}},
    {ActionRestartLevel, {VK_ESCAPE}},
    {ActionEndLevel, {VK_F3}},
    {ActionConfirm, {VK_SPACE, VK_RETURN, VK_LBUTTON, VK_RBUTTON}},
    {ActionDebugBoxes, {VK_F4}},
    {ActionScreenshot, {VK_SNAPSHOT}},
    {ActionOverlay, {VK_F1}},
    {ActionVolumeDown, {VK_OEM_MINUS, VK_SUBTRACT}},
    {ActionVolumeUp, {VK_OEM_PLUS, VK_ADD}},
    {ActionMute, {'M'}},
};

uint32_t heldActionsFromKeys() {
    uint32_t held = 0;
    for (const auto& e : keyTable)
        for (int k = 0; k < 4 && e.keys[k]; k++)
            if (keyHeld(e.keys[k])) held |= e.action;
    return held;
}

StepInput readStepInputFromKeys() {
    StepInput in = {};
    in.held = heldActionsFromKeys();
    for (const auto& e : keyTable)
        for (int k = 0; k < 4 && e.keys[k]; k++) {
            if (keyPressed(e.keys[k])) in.pressed |= e.action;
            if (keyReleased(e.keys[k])) in.released |= e.action;
        }
    in.windowActive = gameServices->windowActive();
    updateStepCamera();
    float mx, my;
    mousePosition(&mx, &my);
    in.aimPoint = unprojectPointerToPlane(mx, my, hero.position.z);
    return in;
}

bool noteGuiCommand(int32_t n) {
    if (stepInput.guiFromRecord) return true;  // already in the record
    if (stepInput.numGuiCommands >= MaxStepGuiCommands) return false;
    stepInput.guiCommands[stepInput.numGuiCommands++] = n;
    return true;
}
