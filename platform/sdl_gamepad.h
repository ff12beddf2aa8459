// sdl_gamepad: gamepads through SDL's game controller interface. Pads come
// and go at any time; their state is read once per step into the plain
// record the game takes.
#pragma once
#include "gamepad.h"

union SDL_Event;  // passed through from the platform's event pump

// Starts the game controller subsystem; false (and no pads) when it cannot.
bool initGamepads();
void shutdownGamepads();
// Opens or closes pads on device events; true when the event was one of them.
bool handleGamepadEvent(const SDL_Event& e);
// Every open pad merged; not connected and all released when none is open.
GamepadState readGamepads();
// A short rumble on every open pad that can rumble.
void rumbleGamepads(float strength, int milliseconds);
