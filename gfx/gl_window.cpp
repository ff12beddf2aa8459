#include "gl_window.h"
#include "qz_utils.h"

SDL_Window* createDeviceWindow(const char* title, int x, int y, int width, int height, uint32_t extraFlags) {
    if (!SDL_WasInit(SDL_INIT_VIDEO) && SDL_InitSubSystem(SDL_INIT_VIDEO) != 0)
        fatalError("can't start SDL video (no display?): %s", SDL_GetError());

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

    SDL_Window* window = SDL_CreateWindow(title, x, y, width, height,
                                          SDL_WINDOW_OPENGL | SDL_WINDOW_ALLOW_HIGHDPI | extraFlags);
    if (!window) fatalError("can't create an OpenGL window: %s", SDL_GetError());
    return window;
}

void destroyDeviceWindow(SDL_Window* window) {
    if (window) SDL_DestroyWindow(window);
}
