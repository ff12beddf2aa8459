// The video memory query of gl_window.h on X11 (GLX).
#include <SDL.h>
#include <SDL_syswm.h>
#include <epoxy/glx.h>
#include "gl_window.h"

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
