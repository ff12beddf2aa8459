#include "gl_window.h"
#include <SDL.h>
#include <SDL_syswm.h>
#include <epoxy/glx.h>
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

uint64_t glxVideoMemoryMb(SDL_Window* window) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!window || !SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return 0;
    if (!glXGetCurrentContext()) return 0;
    Display* display = info.info.x11.display;
    if (!epoxy_has_glx_extension(display, DefaultScreen(display), "GLX_MESA_query_renderer")) return 0;
    unsigned int mb = 0;
    if (!glXQueryCurrentRendererIntegerMESA(GLX_RENDERER_VIDEO_MEMORY_MESA, &mb)) return 0;
    return mb;
}

const char* platformError() { return SDL_GetError(); }
