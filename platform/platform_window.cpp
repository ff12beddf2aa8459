#include "platform_window.h"
#include <SDL.h>
#include "qz_utils.h"
#include "sdl_platform.h"

// The default framebuffer the device layer expects.
static void setGlAttributes() {
    SDL_GL_ResetAttributes();
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
    // With alpha the transparent scene clear would reach the window and the
    // screenshots as alpha 0.
    SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, 0);
    // Depth: without anti-aliasing the scene is drawn straight into the back buffer.
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_MULTISAMPLEBUFFERS, 0);
    SDL_GL_SetAttribute(SDL_GL_MULTISAMPLESAMPLES, 0);
    SDL_GL_SetAttribute(SDL_GL_FRAMEBUFFER_SRGB_CAPABLE, 0);
}

SDL_Window* createPlatformWindow(const PlatformWindowDesc& desc, WindowRect* placed) {
    // The click that activates a window must still press a button.
    SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
    if (desc.appName) SDL_SetHint(SDL_HINT_APP_NAME, desc.appName);
    // A window without GL is plain memory copied to the screen.
    if (!desc.openGl) SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    if (!SDL_WasInit(SDL_INIT_VIDEO) && SDL_InitSubSystem(SDL_INIT_VIDEO) != 0)
        fatalError("can't start SDL video (no display?): %s", SDL_GetError());

    int width = desc.width, height = desc.height;
    if (width <= 0 || height <= 0) {
        WindowRect work = workArea();
        width = work.right - work.left;
        height = work.bottom - work.top;
    }
    int x = desc.x, y = desc.y;
    if (desc.systemCentred) {
        x = y = SDL_WINDOWPOS_CENTERED;
    } else if (desc.centreOnWorkArea) {
        WindowRect r = centredClientRect(workArea(), width, height);
        x = r.left;
        y = r.top;
    }
    if (placed) *placed = {x, y, x + width, y + height};

    uint32_t flags = SDL_WINDOW_ALLOW_HIGHDPI;
    if (desc.openGl) {
        setGlAttributes();
        flags |= SDL_WINDOW_OPENGL;
    }
    if (desc.resizable) flags |= SDL_WINDOW_RESIZABLE;
    if (desc.maximized) flags |= SDL_WINDOW_MAXIMIZED;
    if (desc.fullscreen) flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
    SDL_Window* window = SDL_CreateWindow(desc.title, x, y, width, height, flags);
    if (!window) {
        if (desc.openGl) fatalError("can't create an OpenGL window: %s", SDL_GetError());
        fatalError("can't create the window '%s': %s", desc.title, SDL_GetError());
    }
    if (desc.iconFile && !setWindowIconFromFile(window, desc.iconFile))
        logMessage("can't load %s; the window keeps the default icon", desc.iconFile);
    if (desc.takeFocus) {
        // A bare X server never hands focus to a new window by itself.
        SDL_ShowWindow(window);
        SDL_RaiseWindow(window);
        SDL_SetWindowInputFocus(window);
    }
    return window;
}

void destroyPlatformWindow(SDL_Window* window) {
    if (window) SDL_DestroyWindow(window);
}

void shutdownPlatformVideo() { SDL_Quit(); }

WindowRect workArea() {
    SDL_Rect r;
    if (SDL_GetDisplayUsableBounds(0, &r) == 0) return {r.x, r.y, r.x + r.w, r.y + r.h};
    SDL_DisplayMode mode;
    if (SDL_GetDesktopDisplayMode(0, &mode) == 0) return {0, 0, mode.w, mode.h};
    return {0, 0, 1280, 720};
}

static int displayOf(SDL_Window* window) {
    int display = window ? SDL_GetWindowDisplayIndex(window) : 0;
    return display < 0 ? 0 : display;
}

bool desktopModeSize(SDL_Window* window, int* width, int* height) {
    SDL_DisplayMode mode;
    if (SDL_GetDesktopDisplayMode(displayOf(window), &mode) != 0) return false;
    *width = mode.w;
    *height = mode.h;
    return true;
}

bool displayBounds(SDL_Window* window, WindowRect* bounds) {
    SDL_Rect r;
    if (SDL_GetDisplayBounds(displayOf(window), &r) != 0) return false;
    *bounds = {r.x, r.y, r.x + r.w, r.y + r.h};
    return true;
}

void windowPosition(SDL_Window* window, int* x, int* y) { SDL_GetWindowPosition(window, x, y); }
void setWindowPosition(SDL_Window* window, int x, int y) { SDL_SetWindowPosition(window, x, y); }
void windowSize(SDL_Window* window, int* width, int* height) { SDL_GetWindowSize(window, width, height); }
void setWindowSize(SDL_Window* window, int width, int height) { SDL_SetWindowSize(window, width, height); }
void windowSizeInPixels(SDL_Window* window, int* width, int* height) {
    SDL_GetWindowSizeInPixels(window, width, height);
}

int setWindowFullscreen(SDL_Window* window, bool fullscreen) {
    return SDL_SetWindowFullscreen(window, fullscreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
}

void showCursor(bool show) { SDL_ShowCursor(show ? SDL_ENABLE : SDL_DISABLE); }

bool windowSurfaceSize(SDL_Window* window, int* width, int* height) {
    SDL_Surface* surface = window ? SDL_GetWindowSurface(window) : nullptr;
    if (!surface) return false;
    *width = surface->w;
    *height = surface->h;
    return true;
}

void presentPixels(SDL_Window* window, const uint32_t* pixels, int width, int height, int pitch) {
    SDL_Surface* surface = SDL_GetWindowSurface(window);
    if (!surface) return;
    int w = surface->w < width ? surface->w : width;
    int h = surface->h < height ? surface->h : height;
    if (SDL_MUSTLOCK(surface) && SDL_LockSurface(surface) != 0) return;
    SDL_ConvertPixels(w, h, SDL_PIXELFORMAT_ARGB8888, pixels, pitch, surface->format->format, surface->pixels,
                      surface->pitch);
    if (SDL_MUSTLOCK(surface)) SDL_UnlockSurface(surface);
    SDL_UpdateWindowSurface(window);
}

bool openUrl(const char* url) {
    if (SDL_OpenURL(url) == 0) return true;
    logMessage("can't open %s: %s", url, SDL_GetError());
    return false;
}
