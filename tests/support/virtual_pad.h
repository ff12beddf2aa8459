// A gamepad that exists only in this process (SDL's virtual joystick with
// the game controller layout): the test sets sticks and buttons, the game
// finds it through the same device events as a plugged-in pad.
#pragma once
#include <SDL.h>

struct VirtualPad {
    int deviceIndex = -1;
    SDL_Joystick* joystick = nullptr;
    int rumbles = 0;  // calls of the rumble callback
    Uint16 lastRumble = 0;

    bool attach(const char* name = "Test Pad") {
        SDL_VirtualJoystickDesc d;
        SDL_zero(d);
        d.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        d.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
        d.naxes = SDL_CONTROLLER_AXIS_MAX;
        d.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
        d.name = name;
        d.userdata = this;
        d.Rumble = [](void* self, Uint16 low, Uint16) -> int {
            static_cast<VirtualPad*>(self)->rumbles++;
            static_cast<VirtualPad*>(self)->lastRumble = low;
            return 0;
        };
        deviceIndex = SDL_JoystickAttachVirtualEx(&d);
        if (deviceIndex < 0) return false;
        joystick = SDL_JoystickOpen(deviceIndex);
        return joystick != nullptr;
    }
    void detach() {
        if (!joystick) return;
        SDL_JoystickClose(joystick);
        SDL_JoystickDetachVirtual(deviceIndex);
        joystick = nullptr;
    }
    // -1 to 1; triggers 0 to 1.
    void axis(SDL_GameControllerAxis a, float v) {
        SDL_JoystickSetVirtualAxis(joystick, a, (Sint16)(v * 32767.0f));
    }
    void button(SDL_GameControllerButton b, bool down) {
        SDL_JoystickSetVirtualButton(joystick, b, down ? 1 : 0);
    }
    void release() {
        for (int a = 0; a < SDL_CONTROLLER_AXIS_MAX; a++) SDL_JoystickSetVirtualAxis(joystick, a, 0);
        for (int b = 0; b < SDL_CONTROLLER_BUTTON_MAX; b++) SDL_JoystickSetVirtualButton(joystick, b, 0);
    }
};
