// input_sampling: the step's input from the bound keys, the fixed debug keys,
// the pointer and the pads.
#include "input_sampling.h"
#include <cmath>
#include "bindings.h"
#include "camera.h"
#include "game_step.h"
#include "hero.h"
#include "hero_step.h"
#include "input.h"
#include "services.h"

AimSource aimSource = {false, {1, 0, 0, 0}, -1, -1};

uint32_t padActions(const GamepadState& pad) {
    const float push = 0.4f;
    uint32_t b = pad.buttons, a = 0;
    if (pad.leftX < -push || (b & PadDpadLeft)) a |= ActionRunLeft;
    if (pad.leftX > push || (b & PadDpadRight)) a |= ActionRunRight;
    if (b & PadSouth) a |= ActionJump | ActionConfirm | ActionFocusPress;
    if (pad.rightTrigger > 0.5f || (b & PadRightShoulder)) a |= ActionFire;
    if (b & PadStart) a |= ActionPause;
    if (b & PadBack) a |= ActionRestartLevel;
    if (b & (PadDpadUp | PadDpadLeft)) a |= ActionFocusPrevious;
    if (b & (PadDpadDown | PadDpadRight)) a |= ActionFocusNext;
    return a;
}

uint32_t heldActionsFromKeys() {
    uint32_t held, pressed, released;
    boundActionsFromKeys(&held, &pressed, &released);
    return held;
}

static uint32_t lastPadHeld, padHeldUntilReleased;

void holdPadUntilReleased() { padHeldUntilReleased = lastPadHeld; }

StepInput readStepInput(const GamepadState& pad) {
    StepInput in = {};
    boundActionsFromKeys(&in.held, &in.pressed, &in.released);
    static const struct {
        uint32_t action;
        int key;
    } fixedKeys[] = {{ActionEndLevel, VK_F3}, {ActionDebugBoxes, VK_F4}};
    for (const auto& f : fixedKeys) {
        if (keyHeld(f.key)) in.held |= f.action;
        if (keyPressed(f.key)) in.pressed |= f.action;
        if (keyReleased(f.key)) in.released |= f.action;
    }
    // A pad that went away releases what it held. Buttons that pressed a
    // screen button act again only after they were let go.
    uint32_t raw = pad.connected ? padActions(pad) : 0;
    padHeldUntilReleased &= raw;
    uint32_t padHeld = raw & ~padHeldUntilReleased;
    in.held |= padHeld;
    in.pressed |= padHeld & ~lastPadHeld;
    in.released |= lastPadHeld & ~raw & ~in.held;
    lastPadHeld = padHeld;
    in.windowActive = hostServices->windowActive();

    updateStepCamera();
    float mx, my;
    mousePosition(&mx, &my);
    if (mx != aimSource.lastMouseX || my != aimSource.lastMouseY) aimSource.fromPad = false;
    aimSource.lastMouseX = mx, aimSource.lastMouseY = my;
    float sx = pad.connected ? pad.rightX : 0, sy = pad.connected ? pad.rightY : 0;
    float pushed = sqrtf(sx * sx + sy * sy);
    if (pushed > 0.5f) {
        aimSource.fromPad = true;
        aimSource.padDirection = {sx / pushed, -sy / pushed, 0, 0};
    }
    if (aimSource.fromPad) {
        Vec4 shoulder = heroWorldShoulder(), d = aimSource.padDirection;
        in.aimPoint = {shoulder.x + PadAimDistance * d.x, shoulder.y + PadAimDistance * d.y, hero.position.z, 1};
    } else {
        in.aimPoint = unprojectPointerToPlane(mx, my, hero.position.z);
    }
    return in;
}

StepInput readStepInputFromKeys() { return readStepInput(GamepadState()); }

void gameStep(float dt) { runGameStep(readStepInputFromKeys(), dt); }
