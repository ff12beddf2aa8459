// game_app: the game program's start-up in a fixed order, its main loop,
// and the shutdown that releases only what was brought up.
#include <SDL.h>
#include "device.h"
#include "font.h"
#include "game_app.h"
#include "game_recording.h"
#include "game_step.h"
#include "game_window.h"
#include "gl_window.h"
#include "gpu_load.h"
#include "gui_behaviour.h"
#include "hero.h"
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
#include "pause.h"
#include "sdl_audio.h"
#include "sdl_gamepad.h"
#include "bindings.h"
#include "sdl_platform.h"
#include "sound.h"

const char* const gameTitle = "ZENTREL! DEMO";

// What is up, so that shutdown (also from the fatal path at any point of
// start-up) releases exactly that.
static struct {
    bool device, audio, gpuLoad, font, scene;
} up;


// The renderer's services plus the window's.
struct ProgramServices : RenderServices {
    void takeScreenshot() override { ::takeScreenshot(); }
    bool windowActive() override { return gameWindow.windowActive; }
    void togglePerfOverlay() override { perfOverlayOn = !perfOverlayOn; }

    // Heard from the camera's point of the current step.
    void playSound(SoundEffect effect, Vec4 at) override {
        SoundPlacement p = placeSound(at, cameraFollow[0]);
        playEffect(effect, p.pan, p.gain);
    }
    void playScreenSound(SoundEffect effect) override { playEffect(effect, 0, 1); }
    void playMusic(MusicTrack track) override { playTune(track); }
    void setVolume(int effects, int music) override { setAudioVolume(effects, music); }
    void pauseEffects(bool paused) override { ::pauseEffects(paused); }
    void rumble(float strength, int milliseconds) override { rumbleGamepads(strength, milliseconds); }
    void quitGame() override {
        if (!recordedRunQuit()) GameServices::quitGame();
    }
};
static ProgramServices programServices;

struct ProgramLoopHost : MainLoopHost {
    void pumpWindowMessages() override { ::pumpWindowMessages(); }
    // The step input is filled here, on the program's side, from the bound
    // keys, the pointer and the pads (or taken from a recording); the logic
    // reads only the record.
    void step(float dt) override {
        StepInput in = readStepInput(readGamepads());
        in.pressed |= takePendingActions();
        if (in.windowActive && (in.pressed & ActionPause)) {
            pauseGame();  // the world stops before this step
            return;
        }
        recordedRunStep(in, dt);
    }
    bool paused() override { return pauseState.paused; }
    void pausedTick() override { pausedStep(readStepInput(readGamepads())); }
    // A paused world is drawn at the moment it stopped.
    bool renderFrame(float t) override {
        if (!pauseState.paused) frameTime = replayFrameTime(t);
        return ::renderFrame(frameTime);
    }
    float frameTime = 0;
    void presentFrame() override { ::presentFrame(); }
    bool readGpuLoad(int* percent) override { return ::readGpuLoad(percent); }
};
static ProgramLoopHost loopHost;

// The volume line for a moment after a change, top centre, over the scene.
static void drawVolumeLine() {
    FixedString<48> line;
    if (!volumeLine(&line)) return;
    pushTextState();
    textState.fontScale *= 2;
    int x = deviceWidth() / 2, y = deviceHeight() - deviceHeight() / 8;
    drawText(line, -1, x + 2, y - 2, 0, 0, 0xFF000000);
    drawText(line, -1, x, y, 0, 0, 0xFFFFF000);
    popTextState();
}

static void drawOverlayWhenOn() {
    drawReplayOverlay();
    drawPauseScreen();
    drawVolumeLine();
    if (perfOverlayOn) drawPerfOverlay();
}

void shutdownSystems() {
    logMessage("closing...");
    finishRecording();
    if (up.scene) shutdownScene();
    up.scene = false;
    if (up.font) shutdownFont();
    up.font = false;
    if (up.gpuLoad) shutdownGpuLoad();
    up.gpuLoad = false;
    shutdownGamepads();
    if (up.audio) closeAudio();
    up.audio = false;
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
    char soundFolder[QZ_MAX_PATH];
    resolveAppFile(soundFolder, "sounds/");
    up.audio = openAudio(soundFolder, soundEffectNames, SoundEffectCount, musicTrackNames, MusicTrackCount);
    up.gpuLoad = initGpuLoad();
    initFont();
    up.font = true;
    showLoadingText("Loading...", -1.0f);

    setGameServices(&programServices);
    readVolumeSettings();
    readBindings();
    readPauseSettings();
    initGamepads();
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
