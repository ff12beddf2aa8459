// input_sampling: filling one step's input record from the player's keys,
// pointer and gamepads. Only the live program samples; a replay feeds
// recorded records to runGameStep instead.
#pragma once
#include "gamepad.h"
#include "step_input.h"

// The pad's mapping: left stick and d-pad run, south jumps (and confirms,
// and presses the focused screen button), right trigger or shoulder fires,
// Start pauses, Back restarts the level, the d-pad moves the screen focus.
uint32_t padActions(const GamepadState& pad);

// Where the hero aims from: the pointer, or the right stick after it was
// pushed, until the pointer moves again.
struct AimSource {
    bool fromPad;
    Vec4 padDirection;  // unit, world axes (y up)
    float lastMouseX, lastMouseY;
};
// Program state: the pointer until the stick is pushed; follows the input
// of every step, never reset.
extern AimSource aimSource;
// The crosshair's distance from the hero's shoulder when the pad aims, in voxels.
const float PadAimDistance = 40.0f;

// The whole record from the bound keys, the fixed debug keys (F3, F4),
// the pointer, the pad and the window: actions with this step's presses and
// releases (a pad's buttons against the last step's), the window's activity,
// and the aim point - the pointer pixel taken through the step's camera (set
// here from cameraPosition) onto the plane z = hero.position.z, or the
// stick's direction from the shoulder.
StepInput readStepInput(const GamepadState& pad);
// The pad's buttons held now give nothing until they are let go: the south
// button that pressed "GO!" does not also jump.
void holdPadUntilReleased();
// Actions held now by the bound keys.
uint32_t heldActionsFromKeys();
// The same without a pad.
StepInput readStepInputFromKeys();

// The live step: the input read from the keys and the pointer
// (readStepInputFromKeys), then runGameStep.
void gameStep(float dt);
