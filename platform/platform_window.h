// platform_window: the one way both programs make a window, and the window
// and display queries they need. Callers see only the opaque SDL_Window
// handle; no SDL header leaves platform/.
#pragma once
#include <cstdint>
#include "display_options.h"

struct SDL_Window;

// What a window should be. Members left alone give a shown, fixed-size,
// 640 x 480 window without GL, centred on the work area.
struct PlatformWindowDesc {
    const char* title = "";
    const char* appName = nullptr;  // names the program to the desktop; null keeps SDL's default
    int width = 640, height = 480;  // client size in window units; 0 x 0: the work area's size
    // Placement: centred on the work area; else at (x, y), or left to the
    // window system when systemCentred is set.
    bool centreOnWorkArea = true;
    bool systemCentred = false;
    int x = 0, y = 0;
    bool openGl = false;      // a GL 3.3 core default framebuffer (see gl_window.h)
    bool resizable = false;
    bool maximized = false;
    bool fullscreen = false;  // borderless at the desktop's size
    bool takeFocus = false;   // raise the window and give it the keyboard focus
    const char* iconFile = nullptr;  // TGA beside the program; a missing icon is logged
};

// Starts SDL video when needed, sets the hints (activating click reaches
// the window, the program name, a plain memory surface for windows without
// GL) and creates the window with the icon. No video or no window is fatal,
// with SDL's reason. placed (optional) receives the client rectangle asked
// for, before the window system had its say.
SDL_Window* createPlatformWindow(const PlatformWindowDesc& desc, WindowRect* placed = nullptr);
// Destroys the window; null is ignored. SDL video stays up for the process.
void destroyPlatformWindow(SDL_Window* window);
// Ends SDL for the process (after the last window is gone).
void shutdownPlatformVideo();

// The work area of the first display, else its desktop, else 1280 x 720.
WindowRect workArea();
// The desktop of the window's display: its size (false when unknown) and
// its bounds on the virtual screen.
bool desktopModeSize(SDL_Window* window, int* width, int* height);
bool displayBounds(SDL_Window* window, WindowRect* bounds);

// Outer placement and client size in window units, and the client size in pixels.
void windowPosition(SDL_Window* window, int* x, int* y);
void setWindowPosition(SDL_Window* window, int x, int y);
void windowSize(SDL_Window* window, int* width, int* height);
void setWindowSize(SDL_Window* window, int width, int height);
void windowSizeInPixels(SDL_Window* window, int* width, int* height);
// Desktop full screen on or off; 0 or SDL's negative error code.
int setWindowFullscreen(SDL_Window* window, bool fullscreen);

// The system pointer over every window of the program.
void showCursor(bool show);

// The software-drawn window's surface: its size in pixels (false when it
// has none), and a copy of ARGB pixels (pitch in bytes) into its top-left
// corner, shown at once. Pixels beyond the surface are cut off.
bool windowSurfaceSize(SDL_Window* window, int* width, int* height);
void presentPixels(SDL_Window* window, const uint32_t* pixels, int width, int height, int pitch);

// Opens a web address in the user's browser; false (with a log line) on failure.
bool openUrl(const char* url);
