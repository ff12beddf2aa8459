#include "launcher.h"
#include <cstdlib>
#include <cstring>
#include "gui_behaviour.h"
#include "input.h"
#include "launcher_screen.h"
#include "platform_window.h"
#include "process.h"
#include "product.h"
#include "qz_utils.h"
#include "sdl_platform.h"
#include "settings.h"
#include "swrender.h"
#include "user_folders.h"


static const char* const windowTitle = "ZENTREL! Launcher";
enum { ClientWidth = 640, ClientHeight = 480 };

// Program state; lives from launcherMain until launcherShutdown.
static SDL_Window* window = nullptr;
static SdlInputPlatform inputPlatformSdl;
static SoftwareGuiRenderer renderer;
static LauncherHandler handler;
static GuiScreen* screen = nullptr;
static ScreenBuffer screenBuffer;
static bool quitFlag = false;
// A repaint was asked for; done when the message queue is next empty.
static bool paintRequested = false;

//---------------------------------------------------------------------------
// Commands
//---------------------------------------------------------------------------

static void startGame() {
    char path[QZ_MAX_PATH];
    resolveAppFile(path, "game");
    int err = startProgram(path);
    // The player would otherwise see the launcher vanish with no game and no reason.
    if (err) logMessage("can't start the game '%s': %s", path, strerror(err));
}

// A choice the player made must not vanish without a word: the log gets the
// path and the reason, the player a box; then Play or Quit goes on.
static void saveFlagsOrTell() {
    if (saveFlags()) return;
    char path[QZ_MAX_PATH];
    if (!settingsFilePath(path, sizeof path)) snprintf(path, sizeof path, "(no settings folder)");
    FixedString<QZ_MAX_PATH + 256> text;
    text.format("can't save settings to '%s': %s", path, settingsLastError());
    logMessage("%s", text.c_str());
    if (!getenv("ZENTREL_NO_ERROR_BOX")) sdlShowErrorBox(windowTitle, text);
}

[[noreturn]] static void endProcess() {
    launcherShutdown();
    exit(0);
}

int32_t LauncherHandler::handle(GuiEvent& event, GuiBox* box, int mode) {
    (void)box;
    (void)mode;
    GuiCommandEvent& cmd = static_cast<GuiCommandEvent&>(event);
    switch (cmd.command) {
        case CmdPlay:
            saveFlagsOrTell();
            startGame();
            // The button and the screen that sent this command are deleted
            // by the shutdown, so nothing may return into them.
            endProcess();
        case CmdQuit:
            saveFlagsOrTell();
            endProcess();
        case CmdVisitSite:
            openUrl(productWebAddress);
            return 1;
        default:
            // Nothing is saved until Play or Quit.
            if (toggleOption(cmd.command)) updateOptionLabels();
            return 1;
    }
}

//---------------------------------------------------------------------------
// Window
//---------------------------------------------------------------------------

static void setClientClamp(int w, int h) {
    inputPlatformSdl.clampWidth = w > 0 ? w : 1;
    inputPlatformSdl.clampHeight = h > 0 ? h : 1;
}

// The launcher's window procedure, over the platform's plain messages.
static void windowProc(const PlatformMessage& msg) {
    switch (msg.kind) {
        case MsgQuit:
            quitFlag = true;
            break;
        case MsgSize:
            setClientClamp(msg.width, msg.height);
            break;
        case MsgExpose:
            paintWindow();
            break;
        case MsgKeyDown:
            // Alt+F4 closes the window where no window manager does it.
            if (msg.vk == VK_F4 && msg.alt) {
                quitFlag = true;
                break;
            }
            pushInputMessage(window, msg);
            break;
        default:
            pushInputMessage(window, msg);  // activation and minimising need nothing
            break;
    }
}

void resizeScreenBuffer(int32_t w, int32_t h) {
    if (w <= 0) w = 1;
    if (h <= 0) h = 1;
    if (w == screenBuffer.width && h == screenBuffer.height) return;
    screenBuffer.pixels.clear();
    screenBuffer.pixels.resize(w * h);
    screenBuffer.width = w;
    screenBuffer.height = h;
    logMessage("resized screen buffer to %dx%d", w, h);
}

void paintWindow() {
    if (!window || !screen) return;
    int surfaceWidth = 0, surfaceHeight = 0;
    if (!windowSurfaceSize(window, &surfaceWidth, &surfaceHeight)) return;
    if (surfaceWidth != screenBuffer.width || surfaceHeight != screenBuffer.height) {
        resizeScreenBuffer(surfaceWidth, surfaceHeight);
        setClientClamp(screenBuffer.width, screenBuffer.height);
        // Layout asks the renderer for its size, so point it at the new buffer first.
        renderer.setTarget(screenBuffer.pixels.data, screenBuffer.width * 4, screenBuffer.width,
                           screenBuffer.height);
        screen->relayout();
    }
    renderer.setTarget(screenBuffer.pixels.data, screenBuffer.width * 4, screenBuffer.width, screenBuffer.height);
    renderer.clear(0);
    screen->draw();

    // The renderer leaves alpha 0; an opaque window needs 0xFF there, or a
    // compositor shows what lies behind it.
    uint32_t* p = screenBuffer.pixels.data;
    for (int i = 0, n = screenBuffer.pixels.num; i < n; i++) p[i] |= 0xFF000000u;
    presentPixels(window, p, screenBuffer.width, screenBuffer.height, screenBuffer.width * 4);
}

//---------------------------------------------------------------------------
// Start-up, loop, shutdown
//---------------------------------------------------------------------------

void launcherInit() {
    loadFlags();
    SoftwareFont* font = renderer.loadFont("font.tga");
    renderer.setFont(font);
    fontUnit = renderer.unit();
    registerStandardBehaviours();
    screen = new GuiScreen(&renderer, buildLauncherScreen(), 40, 30);
    screen->root->addHandler(&handler, -1);
}

void launcherLoop() {
    int64_t lastUpdate = timerNow();
    int64_t updateInterval = timerFrequency() / 30;
    while (!quitFlag) {
        bool activity = false;
        PlatformMessage msg;
        while (pollPlatformMessage(window, &msg)) {
            if (msg.kind != MsgExpose) activity = true;
            windowProc(msg);
        }
        // The window system paints once nothing else is waiting.
        if (paintRequested) {
            paintRequested = false;
            paintWindow();
        }
        refreshCursorInside();
        int64_t now = timerNow();
        if (activity || now - lastUpdate >= updateInterval) {
            screen->processInput();
            paintRequested = true;
            lastUpdate = now;
        }
        inputEndStep();
    }
    inputEndStep();
}

void launcherShutdown() {
    logMessage("closing...");
    delete screen;  // the tree, and the button handlers with it
    screen = nullptr;
    screenBuffer.pixels.release();
    screenBuffer.width = screenBuffer.height = 0;
    renderer.setTarget(nullptr, 0, 0, 0);
    inputEndStep();
    if (window) {
        destroyPlatformWindow(window);
        window = nullptr;
        shutdownPlatformVideo();
    }
    logMessage("closed all systems");
}

int launcherMain() {
    setProgramTitle(windowTitle);
    setErrorBoxHandler(sdlShowErrorBox);
    setShutdownSequence(launcherShutdown);
    char logFolder[QZ_MAX_PATH];
    openLogFile(makeStateFolder(logFolder, sizeof logFolder) ? logFolder : nullptr, "launcher.log");
    initAppPath();
    logMessage("app path: '%s'", appPath);
    timerInit();
    int64_t startTime = timerNow();

    PlatformWindowDesc desc;
    desc.title = windowTitle;
    desc.appName = windowTitle;
    desc.width = ClientWidth;
    desc.height = ClientHeight;
    desc.resizable = true;
    desc.iconFile = "icon.tga";
    WindowRect placed;
    window = createPlatformWindow(desc, &placed);
    logMessage("wr: %d %d %d %d", placed.left, placed.top, placed.right, placed.bottom);

    inputPlatformSdl.window = window;
    int w = 0, h = 0;
    windowSizeInPixels(window, &w, &h);
    setClientClamp(w, h);
    inputInit(&inputPlatformSdl);

    launcherInit();
    logMessage("total start-up time: %d ms", (int)ticksToMs(timerNow() - startTime));

    launcherLoop();
    launcherShutdown();
    return 0;
}
