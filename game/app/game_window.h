// game_window: the game program's window: its procedure over the platform
// layer's messages, activity and cursor, and the Alt+Enter switch.
#pragma once
#include "sdl_platform.h"

struct GameWindowState {
    SDL_Window* window;
    bool windowActive;  // focused and not minimised
    bool focused, minimized;
    bool hadFocus;  // a focus gain was seen: only then does a loss pause
    // The window before the last switch to full screen; zero until then.
    int savedX, savedY, savedWidth, savedHeight;
};

// Program state: set up by startGame (window, focus) and cleared by endGame;
// the flags follow the window's messages, the saved rectangle each switch to
// full screen.
extern GameWindowState gameWindow;
// The input layer's platform: installed by startGame; its clamp size follows
// every resize.
extern SdlInputPlatform gameInput;

// Handles one message: input records, resizes, activity, Alt+Enter,
// Alt+F4 and the close that ends the main loop.
void windowProc(const PlatformMessage& msg);
// Takes every waiting message, then shows or hides the cursor.
void pumpWindowMessages();
void toggleFullscreen();
