#include "pause.h"
#include "bindings.h"
#include "input.h"
#include "main_loop.h"
#include "qz_utils.h"
#include "screen_build.h"
#include "services.h"
#include "settings.h"
#include "sound.h"

PauseState pauseState;

static const uint32_t yellow = 0xFFFFF000, grey = 0xFFC8C8C8;

void readPauseSettings() {
    uint32_t v;
    pauseState.pauseOnFocusLoss = !(readSettingDword("pause_on_focus_loss", &v) && v == 0);
}

void setPauseOnFocusLoss(bool on) {
    pauseState.pauseOnFocusLoss = on;
    if (!writeSettingDword("pause_on_focus_loss", on ? 1 : 0)) logMessage("can't store pause_on_focus_loss");
}

//---------------------------------------------------------------------------
// Screens
//---------------------------------------------------------------------------

// Keeps the buttons' commands until the screen's input is through: a
// command may delete or rebuild the screen, never inside its own routing.
struct PauseCommandHandler : GuiEventHandler {
    int32_t commands[8];
    int count = 0;
    PauseCommandHandler() : GuiEventHandler(GuiEvCommand) {}
    int32_t handle(GuiEvent& event, GuiBox*, int) override {
        if (count < 8) commands[count++] = static_cast<GuiCommandEvent&>(event).command;
        return 1;
    }
};
static PauseCommandHandler commandHandler;
static bool rebuildWanted;

static GuiBox* screenRoot(const char* title) {
    GuiLen a = guiAuto(), p0 = guiPixels(0);
    GuiBox* root = createBox(nullptr, guiUnits(40), guiUnits(30), a, a, a, a, p0, p0, p0, p0);
    root->name.assign("root");
    createTextBox(root, title, yellow, 4, 0, 0, guiUnits(1), a, a, a, p0, p0, p0, p0, a, a);
    return root;
}

// A centred button `width` units wide, two high, `top` units down.
static GuiBox* wideButton(GuiBox* root, int32_t command, const char* label, float top, float width) {
    GuiLen a = guiAuto(), p0 = guiPixels(0);
    return createButton(root, command, label, 1, guiUnits(width), guiUnits(1.6f), guiUnits(top), a, a, a, p0, p0, p0,
                        p0);
}

// "Effects volume 80" between its - and + buttons.
static void volumeRow(GuiBox* root, const char* name, int32_t volume, int32_t downCommand, float top) {
    GuiLen a = guiAuto(), p0 = guiPixels(0);
    FixedString<48> text;
    text.format("%s %d", name, volume);
    createTextBox(root, text, grey, 1, 0, 0, guiUnits(top), a, a, a, p0, p0, p0, p0, guiUnits(16), guiUnits(1.6f));
    createButton(root, downCommand, "-", 1, guiUnits(1.6f), guiUnits(1.6f), guiUnits(top), guiUnits(10), a, a, p0,
                 p0, p0, p0);
    createButton(root, downCommand + 1, "+", 1, guiUnits(1.6f), guiUnits(1.6f), guiUnits(top), guiUnits(28.4f), a,
                 a, p0, p0, p0, p0);
}

static GuiBox* buildPauseScreen() {
    GuiBox* root = screenRoot("PAUSED");
    wideButton(root, CmdResume, "Resume", 7, 14);
    volumeRow(root, "Effects volume", effectsVolume(), CmdEffectsDown, 10);
    volumeRow(root, "Music volume", musicVolume(), CmdMusicDown, 12.5f);
    wideButton(root, CmdFocusLoss, pauseState.pauseOnFocusLoss ? "Pause on focus loss: On" : "Pause on focus loss: Off",
               15.5f, 20);
    wideButton(root, CmdControls, "Controls", 18.5f, 14);
    wideButton(root, CmdRestartLevel, "Restart level", 21.5f, 14);
    wideButton(root, CmdQuit, "Quit", 24.5f, 14);
    return root;
}

static GuiBox* buildControlsScreen() {
    GuiLen a = guiAuto(), p0 = guiPixels(0);
    GuiBox* root = createBox(nullptr, guiUnits(40), guiUnits(30), a, a, a, a, p0, p0, p0, p0);
    root->name.assign("root");
    createTextBox(root, "CONTROLS", yellow, 2, 0, 0, guiUnits(1), a, a, a, p0, p0, p0, p0, a, a);
    for (int i = 0; i < BoundActionCount; i++) {
        float top = 4 + 2 * (float)i;
        createTextBox(root, boundActions[i].label, grey, 1, -1, 0, guiUnits(top), guiUnits(1.5f), a, a, p0, p0, p0, p0,
                      guiUnits(14), guiUnits(1.6f));
        FixedString<128> keys;
        if (pauseState.waitingRow == i) {
            keys.assign("Press a key or mouse button");
        } else {
            for (int vk : bindings[i]) {
                if (!vk) continue;
                FixedString<128> longer;
                longer.format("%s%s%s", keys.c_str(), keys.length() ? ", " : "", bindingKeyName(vk));
                keys.assign(longer);
            }
            if (!keys.length()) keys.assign("-");
        }
        GuiBox* row = createButton(root, CmdBindRow + i, keys, 1, guiUnits(22), guiUnits(1.6f), guiUnits(top),
                                   guiUnits(16), a, a, p0, p0, p0, p0);
        if (pauseState.waitingRow == i)
            for (GuiBox* look : row->children) look->textColour = yellow;
    }
    createButton(root, CmdDefaults, "Defaults", 1, guiUnits(10), guiUnits(1.6f), guiUnits(27), guiUnits(8), a, a, p0,
                 p0, p0, p0);
    createButton(root, CmdBack, "Back", 1, guiUnits(10), guiUnits(1.6f), guiUnits(27), guiUnits(22), a, a, p0, p0, p0,
                 p0);
    return root;
}

static void showPauseScreen() {
    delete pauseState.screen;
    GuiBox* root = pauseState.controls ? buildControlsScreen() : buildPauseScreen();
    pauseState.screen = new GuiScreen(gameGuiRenderer, root, 40, 30);
    root->addHandler(&commandHandler, -1);
    rebuildWanted = false;
}

//---------------------------------------------------------------------------
// Pausing
//---------------------------------------------------------------------------

void pauseGame() {
    if (pauseState.paused) return;
    pauseState.paused = true;
    pauseState.controls = false;
    pauseState.waitingRow = -1;
    pauseState.focus = PadFocus();
    pauseSound(true);
    showPauseScreen();
    logMessage("paused");
}

void resumeGame() {
    if (!pauseState.paused) return;
    delete pauseState.screen;
    pauseState.screen = nullptr;
    pauseState.paused = false;
    pauseState.waitingRow = -1;
    holdPadUntilReleased();
    pauseSound(false);
    logMessage("resumed");
}

void focusLost() {
    if (pauseState.pauseOnFocusLoss) pauseGame();
}

uint32_t takePendingActions() {
    uint32_t a = pauseState.pendingPressed;
    pauseState.pendingPressed = 0;
    return a;
}

static void switchScreen(bool controls) {
    pauseState.controls = controls;
    pauseState.waitingRow = -1;
    pauseState.focus = PadFocus();
    rebuildWanted = true;
}

void pauseCommand(int32_t command) {
    if (!pauseState.paused) return;
    rebuildWanted = true;
    switch (command) {
        case CmdResume: resumeGame(); break;
        case CmdEffectsDown: setEffectsVolume(effectsVolume() - 10); break;
        case CmdEffectsUp: setEffectsVolume(effectsVolume() + 10); break;
        case CmdMusicDown: setMusicVolume(musicVolume() - 10); break;
        case CmdMusicUp: setMusicVolume(musicVolume() + 10); break;
        case CmdFocusLoss: setPauseOnFocusLoss(!pauseState.pauseOnFocusLoss); break;
        case CmdControls: switchScreen(true); break;
        case CmdBack: switchScreen(false); break;
        case CmdRestartLevel:
            pauseState.pendingPressed |= ActionRestartLevel;
            resumeGame();
            break;
        case CmdQuit: quitRequested = true; break;
        case CmdDefaults:
            restoreDefaultBindings();
            logMessage("controls back to the defaults");
            break;
        default:
            if (command >= CmdBindRow && command < CmdBindRow + BoundActionCount) pauseState.waitingRow = command - CmdBindRow;
            break;
    }
}

// The first key or mouse button pressed binds the waiting row; the pad's
// south button gives up waiting.
static void waitForKey(const StepInput& in) {
    GuiInputRecord r;
    while (popInput(&r)) {
        bool key = r.kind == InputKeyDown && !(r.flags & InputFlagRepeat);
        if (!key && r.kind != InputButtonDown) continue;
        int action = pauseState.waitingRow;
        if (bindKey(action, (int)r.code))
            logMessage("bound %s to %s", bindingKeyName((int)r.code), boundActions[action].settingName);
        pauseState.waitingRow = -1;
        rebuildWanted = true;
        return;
    }
    if (in.pressed & ActionFocusPress) {
        pauseState.waitingRow = -1;
        rebuildWanted = true;
    }
}

void pausedStep(const StepInput& in) {
    if (!pauseState.paused) return;
    if (pauseState.waitingRow >= 0) {
        waitForKey(in);
    } else {
        commandHandler.count = 0;
        pauseState.screen->processInput();
        if (GuiBox* b = pauseState.focus.step(pauseState.screen, in.pressed)) pressButton(&commandHandler, b);
        for (int i = 0; i < commandHandler.count; i++) pauseCommand(commandHandler.commands[i]);
        // Esc (or whatever restarts the level) and the pause keys leave the
        // screen: Controls back to the pause screen, that one back to play.
        bool leave = keyPressed(VK_ESCAPE) || (in.pressed & (ActionPause | ActionRestartLevel));
        if (pauseState.paused && in.windowActive && leave) {
            if (pauseState.controls) switchScreen(false);
            else resumeGame();
        }
    }
    if (in.windowActive) {
        if (in.pressed & ActionOverlay) gameServices->togglePerfOverlay();
        if (in.released & ActionScreenshot) gameServices->takeScreenshot();
        uint32_t volume = in.pressed & (ActionVolumeDown | ActionVolumeUp | ActionMute);
        if (volume) rebuildWanted = true;
        volumeActionsStep(volume);
    }
    if (pauseState.paused && rebuildWanted) showPauseScreen();
}

void drawPauseScreen() {
    GuiScreen* s = pauseState.paused ? pauseState.screen : nullptr;
    if (!s || !s->renderer) return;
    s->renderer->fillRect(0, 0, (float)s->renderer->width(), (float)s->renderer->height(), 0xB0000000);
    s->draw();
    pauseState.focus.draw(s);
}

void pauseScreenResized() {
    if (pauseState.paused && pauseState.screen) pauseState.screen->relayout();
}
