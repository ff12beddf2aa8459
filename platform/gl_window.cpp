#include "gl_window.h"
#include <SDL.h>
#include "platform_window.h"
#include "qz_utils.h"

SDL_Window* createDeviceWindow(const char* title, int x, int y, int width, int height, bool resizable) {
    PlatformWindowDesc desc;
    desc.title = title;
    desc.centreOnWorkArea = false;
    desc.x = x;
    desc.y = y;
    desc.width = width;
    desc.height = height;
    desc.openGl = true;
    desc.resizable = resizable;
    return createPlatformWindow(desc);
}

void destroyDeviceWindow(SDL_Window* window) { destroyPlatformWindow(window); }

PlatformGlContext createGlContext(SDL_Window* window) {
    SDL_GLContext context = SDL_GL_CreateContext(window);
    if (context) SDL_GL_MakeCurrent(window, context);
    return context;
}

void destroyGlContext(PlatformGlContext context) {
    if (context) SDL_GL_DeleteContext(context);
}

bool setSwapInterval(int interval) {
    if (SDL_GL_SetSwapInterval(interval) == 0) return true;
    logMessage("can't set swap interval %d: %s", interval, SDL_GetError());
    return false;
}

void glDrawableSize(SDL_Window* window, int* width, int* height) { SDL_GL_GetDrawableSize(window, width, height); }

void swapWindowBuffers(SDL_Window* window) { SDL_GL_SwapWindow(window); }

const char* platformError() { return SDL_GetError(); }
