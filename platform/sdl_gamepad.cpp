#include "sdl_gamepad.h"
#include <SDL.h>
#include <cmath>
#include "qz_utils.h"

enum { MaxPads = 4 };
static SDL_GameController* pads[MaxPads];
static bool started;

bool initGamepads() {
    if (started) return true;
    if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) {
        logMessage("no gamepads: %s", SDL_GetError());
        return false;
    }
    started = true;
    // Pads already plugged in arrive as device-added events.
    return true;
}

void shutdownGamepads() {
    if (!started) return;
    for (SDL_GameController*& p : pads)
        if (p) SDL_GameControllerClose(p), p = nullptr;
    SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
    started = false;
}

static void openPad(int deviceIndex) {
    if (!SDL_IsGameController(deviceIndex)) return;
    SDL_JoystickID id = SDL_JoystickGetDeviceInstanceID(deviceIndex);
    for (SDL_GameController* p : pads)
        if (p && SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(p)) == id) return;
    for (SDL_GameController*& p : pads) {
        if (p) continue;
        p = SDL_GameControllerOpen(deviceIndex);
        if (!p) {
            logMessage("can't open gamepad: %s", SDL_GetError());
            return;
        }
        const char* name = SDL_GameControllerName(p);
        logMessage("gamepad connected: %s", name ? name : "unnamed");
        return;
    }
}

static void closePad(SDL_JoystickID id) {
    for (SDL_GameController*& p : pads)
        if (p && SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(p)) == id) {
            SDL_GameControllerClose(p);
            p = nullptr;
            logMessage("gamepad removed");
        }
}

bool handleGamepadEvent(const SDL_Event& e) {
    if (!started) return false;
    if (e.type == SDL_CONTROLLERDEVICEADDED) openPad(e.cdevice.which);
    else if (e.type == SDL_CONTROLLERDEVICEREMOVED) closePad(e.cdevice.which);
    else return e.type >= SDL_JOYAXISMOTION && e.type <= SDL_CONTROLLERSENSORUPDATE;
    return true;
}

static const struct {
    SDL_GameControllerButton button;
    uint32_t bit;
} buttonTable[] = {
    {SDL_CONTROLLER_BUTTON_A, PadSouth},
    {SDL_CONTROLLER_BUTTON_B, PadEast},
    {SDL_CONTROLLER_BUTTON_X, PadWest},
    {SDL_CONTROLLER_BUTTON_Y, PadNorth},
    {SDL_CONTROLLER_BUTTON_BACK, PadBack},
    {SDL_CONTROLLER_BUTTON_START, PadStart},
    {SDL_CONTROLLER_BUTTON_LEFTSHOULDER, PadLeftShoulder},
    {SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, PadRightShoulder},
    {SDL_CONTROLLER_BUTTON_DPAD_UP, PadDpadUp},
    {SDL_CONTROLLER_BUTTON_DPAD_DOWN, PadDpadDown},
    {SDL_CONTROLLER_BUTTON_DPAD_LEFT, PadDpadLeft},
    {SDL_CONTROLLER_BUTTON_DPAD_RIGHT, PadDpadRight},
};

static float axis(SDL_GameController* p, SDL_GameControllerAxis a) {
    return fmaxf(-1.0f, (float)SDL_GameControllerGetAxis(p, a) / 32767.0f);
}

// The value pushed further from rest wins.
static void further(float* into, float v) {
    if (fabsf(v) > fabsf(*into)) *into = v;
}

GamepadState readGamepads() {
    GamepadState s = {};
    for (SDL_GameController* p : pads) {
        if (!p) continue;
        s.connected = true;
        for (const auto& b : buttonTable)
            if (SDL_GameControllerGetButton(p, b.button)) s.buttons |= b.bit;
        further(&s.leftX, axis(p, SDL_CONTROLLER_AXIS_LEFTX));
        further(&s.leftY, axis(p, SDL_CONTROLLER_AXIS_LEFTY));
        further(&s.rightX, axis(p, SDL_CONTROLLER_AXIS_RIGHTX));
        further(&s.rightY, axis(p, SDL_CONTROLLER_AXIS_RIGHTY));
        further(&s.leftTrigger, axis(p, SDL_CONTROLLER_AXIS_TRIGGERLEFT));
        further(&s.rightTrigger, axis(p, SDL_CONTROLLER_AXIS_TRIGGERRIGHT));
    }
    return s;
}

void rumbleGamepads(float strength, int milliseconds) {
    Uint16 level = (Uint16)(fminf(fmaxf(strength, 0.0f), 1.0f) * 65535.0f);
    for (SDL_GameController* p : pads)
        if (p && SDL_GameControllerHasRumble(p)) SDL_GameControllerRumble(p, level, level, (Uint32)milliseconds);
}
