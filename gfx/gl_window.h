// gl_window: the window the device draws into. Starts SDL video and asks for
// exactly the default framebuffer the device layer expects (GL 3.3 core,
// double-buffered RGB8 without alpha, depth, stencil or multisampling: the
// layer makes its own depth and multisampled surfaces).
#pragma once
#include <SDL.h>

// A window with GL support at the given position and size (window units),
// with SDL_WINDOW_ALLOW_HIGHDPI and the extra SDL window flags. No SDL video
// or no GL-capable window is fatal, with SDL's reason in the message.
SDL_Window* createDeviceWindow(const char* title, int x, int y, int width, int height, uint32_t extraFlags);
// Destroys the window; null is ignored. SDL video stays up for the process.
void destroyDeviceWindow(SDL_Window* window);
