// game_app: the game program's start-up in a fixed order, its main loop,
// and the shutdown that releases only what was brought up.
#include "device.h"
#include "font.h"
#include "game_app.h"
#include "game_recording.h"
#include "game_step.h"
#include "game_window.h"
#include "input_sampling.h"
#include "gl_window.h"
#include "platform_window.h"
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
#include "screen_modes.h"
#include "screenshot.h"
#include "pause.h"
#include "sdl_audio.h"
#include "sdl_gamepad.h"
#include "bindings.h"
#include "sdl_platform.h"
#include "sound.h"
#include "user_folders.h"
#include "volume_display.h"

const char* const gameTitle = "ZENTREL! DEMO";

// What is up, so that shutdown (also from the fatal path at any point of
// start-up) releases exactly that.
static struct {
    bool device, audio, gpuLoad, font, scene;
} up;


// The window's, the mixer's and the pads' services; the view services are
// the renderer's.
struct ProgramServices : HostServices, SoundServices, RumbleServices {
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
        if (!recordedRunQuit()) HostServices::quitGame();
    }
};
static ProgramServices programServices;
static RenderServices renderServices;

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

static SDL_Window* createGameWindow() {
    PlatformWindowDesc desc;
    desc.title = gameTitle;
    desc.appName = "ZENTREL";
    desc.openGl = true;
    desc.iconFile = "icon.tga";
    desc.takeFocus = true;
    if (optFullscreen) {
        desc.centreOnWorkArea = false;
        desc.width = 640;
        desc.height = 360;
        desc.fullscreen = true;
    } else if (optWidth > 0 && optHeight > 0) {
        desc.width = optWidth;
        desc.height = optHeight;
        desc.resizable = true;
    } else {
        // No size asked for: a maximised window over the work area.
        desc.width = desc.height = 0;
        desc.systemCentred = true;
        desc.resizable = true;
        desc.maximized = true;
    }
    return createPlatformWindow(desc);
}

void startGame(int argc, const char* const* argv) {
    setProgramTitle(gameTitle);
    setShutdownSequence(shutdownSystems);
    setErrorBoxHandler(sdlShowErrorBox);

    char logFolder[QZ_MAX_PATH];
    openLogFile(makeStateFolder(logFolder, sizeof logFolder) ? logFolder : nullptr, "game.log");
    initAppPath();
    logMessage("app path: '%s'", appPath);
    timerInit();
    gameRandom.seed((uint64_t)timerNow());
    setStepRate(STEPS_PER_SECOND, MAX_CATCH_UP_STEPS);
    int64_t t0 = timerNow();

    readSettings(argc, argv);
    isFullscreen = optFullscreen;
    SDL_Window* window = createGameWindow();
    gameWindow.window = window;
    gameWindow.focused = true;
    gameWindow.windowActive = true;
    int cw = 0, ch = 0;
    windowSizeInPixels(window, &cw, &ch);
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

    setViewServices(&renderServices);
    setHostServices(&programServices);
    setSoundServices(&programServices);
    setRumbleServices(&programServices);
    readVolumeSettings();
    readBindings();
    readPauseSettings();
    initGamepads();
    registerScreenModes();
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
    shutdownPlatformVideo();
}
