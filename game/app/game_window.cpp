// game_window: the window procedure of the game.
#include "game_window.h"
#include "bindings.h"
#include "device.h"
#include "input.h"
#include "main_loop.h"
#include "platform_window.h"
#include "pause.h"
#include "scene.h"

GameWindowState gameWindow;
SdlInputPlatform gameInput;

// Pointer positions are clamped to the back buffer.
static void updateInputClamp() {
    gameInput.clampWidth = deviceWidth() > 0 ? deviceWidth() : 1;
    gameInput.clampHeight = deviceHeight() > 0 ? deviceHeight() : 1;
    gameInput.fullscreen = isFullscreen;
}

void toggleFullscreen() {
    SDL_Window* w = gameWindow.window;
    int targetW = 0, targetH = 0;
    if (!isFullscreen) {
        windowPosition(w, &gameWindow.savedX, &gameWindow.savedY);
        windowSize(w, &gameWindow.savedWidth, &gameWindow.savedHeight);
    } else {
        targetW = gameWindow.savedWidth;
        targetH = gameWindow.savedHeight;
        if (targetW == 0 || targetH == 0) {
            // Started full screen: come back at half the screen.
            targetW = deviceWidth() / 2;
            targetH = deviceHeight() / 2;
        }
    }
    bool wasFullscreen = isFullscreen;
    if (!resizeDevice(targetW, targetH, !isFullscreen)) return;
    if (wasFullscreen && !isFullscreen) {
        setWindowSize(w, targetW, targetH);
        if (gameWindow.savedWidth > 0) setWindowPosition(w, gameWindow.savedX, gameWindow.savedY);
        else setWindowPosition(w, 0, 0);
    }
    updateInputClamp();
}

static void updateActivity() { gameWindow.windowActive = gameWindow.focused && !gameWindow.minimized; }

void windowProc(const PlatformMessage& msg) {
    switch (msg.kind) {
        case MsgQuit:
            gameWindow.windowActive = false;
            quitRequested = true;
            break;
        case MsgSize:
            if (!gameWindow.minimized && !isFullscreen && msg.width > 0 && msg.height > 0)
                resizeDevice(msg.width, msg.height, false);
            updateInputClamp();
            break;
        case MsgActivate:
            // A window that never had the focus has none to lose.
            if (!msg.active && gameWindow.hadFocus && gameReady) focusLost();
            if (msg.active) gameWindow.hadFocus = true;
            gameWindow.focused = msg.active;
            updateActivity();
            break;
        case MsgMinimize:
            gameWindow.minimized = msg.minimized;
            updateActivity();
            break;
        case MsgKeyDown:
            if (msg.alt && msg.vk == VK_F4) {
                gameWindow.windowActive = false;
                quitRequested = true;
                break;
            }
            if (msg.alt && msg.vk == VK_RETURN) {
                // Enter's release must not confirm or press anything either.
                holdKeyUntilReleased(VK_RETURN);
                if (!msg.repeat) toggleFullscreen();
                break;
            }
            pushInputMessage(gameWindow.window, msg);
            break;
        default:
            pushInputMessage(gameWindow.window, msg);
            break;
    }
}

void pumpWindowMessages() {
    updateInputClamp();
    PlatformMessage msg;
    while (pollPlatformMessage(gameWindow.window, &msg)) windowProc(msg);
    // Our own crosshair replaces the pointer over the active window.
    bool over = gameInput.cursorOverWindow() || isFullscreen;
    // The pause screen is worked with the system pointer.
    bool hide = gameWindow.windowActive && over && gameReady && !pauseState.paused;
    static int shown = -1;  // the cursor is switched only when it must change
    if (shown != (hide ? 0 : 1)) {
        shown = hide ? 0 : 1;
        showCursor(!hide);
    }
}
