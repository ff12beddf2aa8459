// sdl_platform: the window system for both programs. Turns SDL events into
// the plain messages the programs' window procedures handle, answers the
// input layer's questions about keys and the cursor, and shows error boxes.
#pragma once
#include "input.h"

struct SDL_Window;

enum PlatformMessageKind {
    MsgQuit = 1,        // the window was closed
    MsgSize,            // drawable size changed: width, height
    MsgActivate,        // active: gained (true) or lost keyboard focus
    MsgMinimize,        // minimized: true when minimised, false when restored
    MsgKeyDown,         // vk, scanCode, repeat, alt
    MsgKeyUp,           // vk, scanCode
    MsgMouseMove,       // x, y
    MsgButtonDown,      // vk, x, y
    MsgButtonUp,        // vk, x, y
    MsgWheel,           // wheel notches (positive away from the user), x, y
    MsgExpose,          // the window needs repainting
};

struct PlatformMessage {
    int kind;
    int vk;
    unsigned scanCode;
    bool repeat;
    bool alt;  // key messages: Alt was held when the key moved (not when the message is read)
    bool shift;  // key messages: Shift, the same way (Shift+Tab)
    bool active;
    bool minimized;
    int width, height;
    int wheel;
    float x, y;  // drawable pixels
};

// Next message for the window, or false when no event is waiting. Events of
// no interest are skipped.
bool pollPlatformMessage(SDL_Window* window, PlatformMessage* msg);

// Turns a key, pointer or wheel message into an input record (a button
// press also gives the window the keyboard focus); false for every other
// kind of message, which the program's window procedure handles itself.
bool pushInputMessage(SDL_Window* window, const PlatformMessage& msg);

// Window units to drawable pixels (HiDPI).
void windowToDrawable(SDL_Window* window, float* x, float* y);

// InputPlatform over one SDL window.
struct SdlInputPlatform : InputPlatform {
    SDL_Window* window = nullptr;
    int clampWidth = 1, clampHeight = 1;  // back buffer or client size, set by the program
    bool fullscreen = false;

    bool keyDown(int vk) override;
    bool keyToggled(int vk) override;
    void captureMouse(bool capture) override;
    void warpMouse(int x, int y) override;
    bool cursorPosition(float* x, float* y) override;
    bool cursorOverWindow() override;
    void clampSize(int* width, int* height) override;
    bool isFullscreen() override { return fullscreen; }
};

// Error-box handler for the fatal path (SDL's simple message box).
void sdlShowErrorBox(const char* caption, const char* text);

// Sets the window icon from a TGA beside the program ("icon.tga"); false
// (and the window keeps the default icon) when it cannot be read.
bool setWindowIconFromFile(SDL_Window* window, const char* name);
