// game_app: the game program's start-up in a fixed order, its main loop,
// and the shutdown that releases only what was brought up.
#include <SDL.h>
#include "device.h"
#include "font.h"
#include "game_app.h"
#include "game_step.h"
#include "game_window.h"
#include "gl_window.h"
#include "gpu_load.h"
#include "gui_behaviour.h"
#include "input.h"
#include "main_loop.h"
#include "nox_gui_renderer.h"
#include "options.h"
#include "perf_overlay.h"
#include "qz_utils.h"
#include "random.h"
#include "scene.h"
#include "screen_build.h"
#include "screenshot.h"
#include "sdl_platform.h"

const char* const gameTitle = "ZENTREL! DEMO";

// What is up, so that shutdown (also from the fatal path at any point of
// start-up) releases exactly that.
static struct {
    bool device, gpuLoad, font, scene;
} up;


// The renderer's services plus the window's.
struct ProgramServices : RenderServices {
    void takeScreenshot() override { ::takeScreenshot(); }
    bool windowActive() override { return gameWindow.windowActive; }
    void togglePerfOverlay() override { perfOverlayOn = !perfOverlayOn; }
};
static ProgramServices programServices;

struct ProgramLoopHost : MainLoopHost {
    void pumpWindowMessages() override { ::pumpWindowMessages(); }
    void step(float dt) override { gameStep(dt); }
    bool renderFrame(float t) override { return ::renderFrame(t); }
    void presentFrame() override { ::presentFrame(); }
    bool readGpuLoad(int* percent) override { return ::readGpuLoad(percent); }
};
static ProgramLoopHost loopHost;

static void drawOverlayWhenOn() {
    if (perfOverlayOn) drawPerfOverlay();
}

void shutdownSystems() {
    logMessage("closing...");
    if (up.scene) shutdownScene();
    up.scene = false;
    if (up.font) shutdownFont();
    up.font = false;
    if (up.gpuLoad) shutdownGpuLoad();
    up.gpuLoad = false;
    if (up.device) closeDevice();
    up.device = false;
    inputEndStep();
    logMessage("closed all systems");
}

// The work area, or the whole desktop when it cannot be had.
static WindowRect workArea() {
    SDL_Rect r;
    if (SDL_GetDisplayUsableBounds(0, &r) == 0) return {r.x, r.y, r.x + r.w, r.y + r.h};
    SDL_DisplayMode mode;
    if (SDL_GetDesktopDisplayMode(0, &mode) == 0) return {0, 0, mode.w, mode.h};
    return {0, 0, 1280, 720};
}

static SDL_Window* createGameWindow() {
    SDL_SetHint(SDL_HINT_APP_NAME, "ZENTREL");
    SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) fatalError("can't start SDL video (no display?): %s", SDL_GetError());
    SDL_Window* window;
    if (optFullscreen) {
        window = createDeviceWindow(gameTitle, 0, 0, 640, 360, SDL_WINDOW_FULLSCREEN_DESKTOP);
    } else {
        WindowRect work = workArea();
        bool sized = optWidth > 0 && optHeight > 0;
        int w = sized ? optWidth : (work.right - work.left), h = sized ? optHeight : (work.bottom - work.top);
        WindowRect r = centredClientRect(work, w, h);
        window = createDeviceWindow(gameTitle, sized ? r.left : SDL_WINDOWPOS_CENTERED,
                                    sized ? r.top : SDL_WINDOWPOS_CENTERED, w, h,
                                    SDL_WINDOW_RESIZABLE | (sized ? 0 : SDL_WINDOW_MAXIMIZED));
    }
    setWindowIconFromFile(window, "icon.tga");
    // A bare X server never hands focus to a new window by itself.
    SDL_ShowWindow(window);
    SDL_RaiseWindow(window);
    SDL_SetWindowInputFocus(window);
    return window;
}

void startGame(int argc, const char* const* argv) {
    setProgramTitle(gameTitle);
    setShutdownSequence(shutdownSystems);
    setErrorBoxHandler(sdlShowErrorBox);

    openLogFile("game.log");
    initAppPath();
    logMessage("app path: '%s'", appPath);
    timerInit();
    gameRandom.seed((uint64_t)timerNow());
    setStepRate(20, 5);
    int64_t t0 = timerNow();

    readSettings(argc, argv);
    isFullscreen = optFullscreen;
    SDL_Window* window = createGameWindow();
    gameWindow.window = window;
    gameWindow.focused = true;
    gameWindow.windowActive = true;
    int cw = 0, ch = 0;
    SDL_GetWindowSizeInPixels(window, &cw, &ch);
    if (optWidth <= 0) optWidth = cw;
    if (optHeight <= 0) optHeight = ch;

    gameInput.window = window;
    gameInput.clampWidth = optWidth;
    gameInput.clampHeight = optHeight;
    inputInit(&gameInput);
    up.device = initDevice(window, optWidth, optHeight);
    up.gpuLoad = initGpuLoad();
    initFont();
    up.font = true;
    showLoadingText("Loading...", -1.0f);

    setGameServices(&programServices);
    sceneOverlayDrawer = drawOverlayWhenOn;
    initScene();
    up.scene = true;

    logMessage("total start-up time: %d ms", (int)ticksToMs(timerNow() - t0));
    logMessage("free video memory: %u MB", (unsigned)(availableTextureMemory() >> 20));

}

void runGame() {
    setMainLoopHost(&loopHost);
    MainLoop();
}

MainLoopHost* gameLoopHost() { return &loopHost; }

void endGame() {
    shutdownSystems();
    destroyDeviceWindow(gameWindow.window);
    gameWindow.window = nullptr;
    SDL_Quit();
}
