// The video memory query of gl_window.h on Windows: WGL has no query of
// its own (the GLX one is a Mesa extension), so the amount is unknown.
#include "gl_window.h"

uint64_t glxVideoMemoryMb(SDL_Window*) { return 0; }
