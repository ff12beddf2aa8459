// gl_window: the window the device draws into and its GL context. The
// window has exactly the default framebuffer the device layer expects
// (GL 3.3 core, double-buffered RGB8 without alpha, depth, stencil or
// multisampling: the layer makes its own depth and multisampled surfaces).
#pragma once
#include <cstdint>

struct SDL_Window;
typedef void* PlatformGlContext;

// A GL window at the given position and size (window units). No SDL video
// or no GL-capable window is fatal, with SDL's reason in the message.
SDL_Window* createDeviceWindow(const char* title, int x, int y, int width, int height, bool resizable = false);
// Destroys the window; null is ignored. SDL video stays up for the process.
void destroyDeviceWindow(SDL_Window* window);

// A GL 3.3 core context made current on the window; null on failure
// (platformError says why).
PlatformGlContext createGlContext(SDL_Window* window);
void destroyGlContext(PlatformGlContext context);
// 1 waits for a refresh, 0 does not; false (with SDL's reason logged) when refused.
bool setSwapInterval(int interval);
// The default framebuffer's size in pixels (larger than the window on HiDPI).
void glDrawableSize(SDL_Window* window, int* width, int* height);
void swapWindowBuffers(SDL_Window* window);
// Video memory in megabytes from the GLX renderer query of the current
// context; 0 when the window is not on X11 or the query is missing.
uint64_t glxVideoMemoryMb(SDL_Window* window);

// SDL's last error text.
const char* platformError();
