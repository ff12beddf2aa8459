#include "sdl_platform.h"
#include <SDL.h>
#include <cstring>
#include "sdl_gamepad.h"
#include "sdl_keys.h"
#include "tga.h"

void windowToDrawable(SDL_Window* window, float* x, float* y) {
    int ww = 0, wh = 0, dw = 0, dh = 0;
    SDL_GetWindowSize(window, &ww, &wh);
    SDL_GL_GetDrawableSize(window, &dw, &dh);
    if (dw <= 0 || dh <= 0) SDL_GetWindowSizeInPixels(window, &dw, &dh);
    if (ww > 0 && wh > 0 && dw > 0 && dh > 0) {
        *x = *x * (float)dw / (float)ww;
        *y = *y * (float)dh / (float)wh;
    }
}

static void drawableSize(SDL_Window* window, int* w, int* h) {
    SDL_GetWindowSizeInPixels(window, w, h);
}

bool pollPlatformMessage(SDL_Window* window, PlatformMessage* msg) {
    SDL_Event e;
    Uint32 id = window ? SDL_GetWindowID(window) : 0;
    while (SDL_PollEvent(&e)) {
        *msg = PlatformMessage();
        if (handleGamepadEvent(e)) continue;  // pads are read per step, not as messages
        switch (e.type) {
            case SDL_QUIT:
                msg->kind = MsgQuit;
                return true;
            case SDL_WINDOWEVENT:
                if (e.window.windowID != id) break;
                switch (e.window.event) {
                    case SDL_WINDOWEVENT_CLOSE:
                        msg->kind = MsgQuit;
                        return true;
                    case SDL_WINDOWEVENT_SIZE_CHANGED:
                        msg->kind = MsgSize;
                        drawableSize(window, &msg->width, &msg->height);
                        return true;
                    case SDL_WINDOWEVENT_FOCUS_GAINED:
                    case SDL_WINDOWEVENT_FOCUS_LOST:
                        msg->kind = MsgActivate;
                        msg->active = e.window.event == SDL_WINDOWEVENT_FOCUS_GAINED;
                        return true;
                    case SDL_WINDOWEVENT_MINIMIZED:
                    case SDL_WINDOWEVENT_RESTORED:
                        msg->kind = MsgMinimize;
                        msg->minimized = e.window.event == SDL_WINDOWEVENT_MINIMIZED;
                        return true;
                    case SDL_WINDOWEVENT_EXPOSED:
                        msg->kind = MsgExpose;
                        return true;
                }
                break;
            case SDL_KEYDOWN:
            case SDL_KEYUP:
                msg->vk = sdlScancodeToVk(e.key.keysym.scancode);
                if (!msg->vk) break;
                msg->kind = e.type == SDL_KEYDOWN ? MsgKeyDown : MsgKeyUp;
                msg->scanCode = (unsigned)e.key.keysym.scancode;
                msg->repeat = e.key.repeat != 0;
                // SDL's current modifier state may already be ahead of this
                // event when several arrived in one pump.
                msg->alt = (e.key.keysym.mod & KMOD_ALT) != 0;
                msg->shift = (e.key.keysym.mod & KMOD_SHIFT) != 0;
                return true;
            case SDL_MOUSEMOTION:
                msg->kind = MsgMouseMove;
                msg->x = (float)e.motion.x;
                msg->y = (float)e.motion.y;
                windowToDrawable(window, &msg->x, &msg->y);
                return true;
            case SDL_MOUSEBUTTONDOWN:
            case SDL_MOUSEBUTTONUP:
                // A double click (clicks == 2) is an ordinary button press here.
                msg->vk = sdlButtonToVk(e.button.button);
                if (!msg->vk) break;
                msg->kind = e.type == SDL_MOUSEBUTTONDOWN ? MsgButtonDown : MsgButtonUp;
                msg->x = (float)e.button.x;
                msg->y = (float)e.button.y;
                windowToDrawable(window, &msg->x, &msg->y);
                return true;
            case SDL_MOUSEWHEEL: {
                int notches = e.wheel.y;
                if (e.wheel.direction == SDL_MOUSEWHEEL_FLIPPED) notches = -notches;
                if (notches == 0) break;
                msg->kind = MsgWheel;
                msg->wheel = notches;
                int mx = 0, my = 0;
                SDL_GetMouseState(&mx, &my);
                msg->x = (float)mx;
                msg->y = (float)my;
                windowToDrawable(window, &msg->x, &msg->y);
                return true;
            }
        }
    }
    return false;
}

bool pushInputMessage(SDL_Window* window, const PlatformMessage& msg) {
    switch (msg.kind) {
        case MsgKeyDown:
            pushInput(InputKeyDown, (uint32_t)msg.vk, msg.scanCode,
                      (msg.repeat ? InputFlagRepeat : 0) | (msg.shift ? InputFlagShift : 0), -1, -1);
            return true;
        case MsgKeyUp:
            pushInput(InputKeyUp, (uint32_t)msg.vk, msg.scanCode, 0, -1, -1);
            return true;
        case MsgMouseMove:
            pushInput(InputMove, 0, 0, 0, msg.x, msg.y);
            return true;
        case MsgButtonDown:
            if (window && SDL_GetKeyboardFocus() != window) SDL_SetWindowInputFocus(window);
            pushInput(InputButtonDown, (uint32_t)msg.vk, 0, 0, msg.x, msg.y);
            return true;
        case MsgButtonUp:
            pushInput(InputButtonUp, (uint32_t)msg.vk, 0, 0, msg.x, msg.y);
            return true;
        case MsgWheel:
            pushInput(InputWheel, (uint32_t)msg.wheel, 0, 0, msg.x, msg.y);
            return true;
    }
    return false;
}

//---------------------------------------------------------------------------
// SdlInputPlatform
//---------------------------------------------------------------------------

bool SdlInputPlatform::keyDown(int vk) { return sdlVkHeld(vk); }

bool SdlInputPlatform::keyToggled(int vk) {
    SDL_Keymod mod = SDL_GetModState();
    if (vk == VK_CAPITAL) return (mod & KMOD_CAPS) != 0;
    if (vk == VK_NUMLOCK) return (mod & KMOD_NUM) != 0;
    if (vk == VK_SCROLL) return (mod & KMOD_SCROLL) != 0;
    return false;
}

void SdlInputPlatform::captureMouse(bool capture) { SDL_CaptureMouse(capture ? SDL_TRUE : SDL_FALSE); }

void SdlInputPlatform::warpMouse(int x, int y) {
    if (!window) return;
    // Drawable pixels back to window units.
    int ww = 0, wh = 0, dw = 0, dh = 0;
    SDL_GetWindowSize(window, &ww, &wh);
    SDL_GetWindowSizeInPixels(window, &dw, &dh);
    if (dw > 0 && dh > 0) {
        x = x * ww / dw;
        y = y * wh / dh;
    }
    SDL_WarpMouseInWindow(window, x, y);
}

bool SdlInputPlatform::cursorPosition(float* x, float* y) {
    if (!window) return false;
    int mx = 0, my = 0;
    SDL_GetMouseState(&mx, &my);
    *x = (float)mx;
    *y = (float)my;
    windowToDrawable(window, x, y);
    return true;
}

bool SdlInputPlatform::cursorOverWindow() { return window && SDL_GetMouseFocus() == window; }

void SdlInputPlatform::clampSize(int* width, int* height) {
    *width = clampWidth;
    *height = clampHeight;
}

void sdlShowErrorBox(const char* caption, const char* text) {
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, caption, text, nullptr);
}

bool setWindowIconFromFile(SDL_Window* window, const char* name) {
    int w = 0, h = 0;
    DynArray<uint32_t> pixels;
    if (!readTgaFile(name, w, h, pixels)) return false;
    // The file stores the bottom row first; SDL wants the top row first.
    DynArray<uint32_t> topDown;
    topDown.resize(w * h);
    for (int y = 0; y < h; y++) memcpy(&topDown[y * w], &pixels[(h - 1 - y) * w], (size_t)w * 4);
    SDL_Surface* s = SDL_CreateRGBSurfaceWithFormatFrom(topDown.data, w, h, 32, w * 4, SDL_PIXELFORMAT_ARGB8888);
    if (!s) return false;
    SDL_SetWindowIcon(window, s);
    SDL_FreeSurface(s);
    return true;
}
