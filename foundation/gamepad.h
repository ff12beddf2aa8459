// gamepad: what the game reads from the player's gamepads, as a plain record
// the platform fills; game code never sees the device interface.
#pragma once
#include <cstdint>

// Buttons by their place on the pad, one bit each.
enum GamepadButton : uint32_t {
    PadSouth = 1u << 0,
    PadEast = 1u << 1,
    PadWest = 1u << 2,
    PadNorth = 1u << 3,
    PadBack = 1u << 4,
    PadStart = 1u << 5,
    PadLeftShoulder = 1u << 6,
    PadRightShoulder = 1u << 7,
    PadDpadUp = 1u << 8,
    PadDpadDown = 1u << 9,
    PadDpadLeft = 1u << 10,
    PadDpadRight = 1u << 11,
};

// All open pads together: buttons of any, the stick or trigger pushed
// furthest. Axes run from -1 to 1, y downward; triggers from 0 to 1.
struct GamepadState {
    bool connected;
    uint32_t buttons;
    float leftX, leftY, rightX, rightY;
    float leftTrigger, rightTrigger;
};
