#include "pause.h"
#include "bindings.h"
#include "game_step.h"
#include "input_sampling.h"
#include "input.h"
#include "main_loop.h"
#include "qz_utils.h"
#include "gui_builder.h"
#include "screen_build.h"
#include "services.h"
#include "settings.h"
#include "sound.h"

PauseState pauseState;

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

// A button of the pause screens: width x 1.6 units, top units down, left
// units from the left edge or centred (left < 0).
static GuiBox* pauseButton(GuiBox* root, int32_t command, const char* label, float width, float top,
                           float left = -1) {
    GuiButtonDesc d;
    d.parent = root;
    d.command = command;
    d.label = label;
    d.width = guiUnits(width);
    d.height = guiUnits(1.6f);
    d.margin[GuiTop] = guiUnits(top);
    if (left >= 0) d.margin[GuiLeft] = guiUnits(left);
    d.edgeWidth = guiUnits(screenPixel());
    return buildButton(d);
}

// A line of label text width x 1.6 units, top units down, centred or flush
// left at left units (left >= 0).
static GuiBox* pauseLabel(GuiBox* root, const char* text, float width, float top, float left = -1) {
    GuiBoxDesc d;
    d.parent = root;
    d.width = guiUnits(width);
    d.height = guiUnits(1.6f);
    d.margin[GuiTop] = guiUnits(top);
    if (left >= 0) {
        d.margin[GuiLeft] = guiUnits(left);
        d.hAlign = -1;
    }
    d.text = text;
    d.textColour = GuiColourLabel;
    return buildBox(d);
}

// "Effects volume 80" between its - and + buttons.
static void volumeRow(GuiBox* root, const char* name, int32_t volume, int32_t downCommand, float top) {
    FixedString<48> text;
    text.format("%s %d", name, volume);
    pauseLabel(root, text, 16, top);
    pauseButton(root, downCommand, "-", 1.6f, top, 10);
    pauseButton(root, downCommand + 1, "+", 1.6f, top, 28.4f);
}

static GuiBox* buildPauseScreen() {
    GuiBox* root = buildScreenRoot();
    buildLine(root, "PAUSED", GuiColourTitle, 4, 1);
    pauseButton(root, CmdResume, "Resume", 14, 7);
    volumeRow(root, "Effects volume", effectsVolume(), CmdEffectsDown, 10);
    volumeRow(root, "Music volume", musicVolume(), CmdMusicDown, 12.5f);
    pauseButton(root, CmdFocusLoss,
                pauseState.pauseOnFocusLoss ? "Pause on focus loss: On" : "Pause on focus loss: Off", 20, 15.5f);
    pauseButton(root, CmdControls, "Controls", 14, 18.5f);
    pauseButton(root, CmdRestartLevel, "Restart level", 14, 21.5f);
    pauseButton(root, CmdQuit, "Quit", 14, 24.5f);
    return root;
}

static GuiBox* buildControlsScreen() {
    GuiBox* root = buildScreenRoot();
    buildLine(root, "CONTROLS", GuiColourTitle, 2, 1);
    for (int i = 0; i < BoundActionCount; i++) {
        float top = 4 + 2 * (float)i;
        pauseLabel(root, boundActions[i].label, 14, top, 1.5f);
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
        GuiBox* row = pauseButton(root, CmdBindRow + i, keys, 22, top, 16);
        if (pauseState.waitingRow == i)
            for (GuiBox* look : row->children) look->textColour = GuiColourTitle;
    }
    pauseButton(root, CmdDefaults, "Defaults", 10, 27, 8);
    pauseButton(root, CmdBack, "Back", 10, 27, 22);
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
    if (viewActionsStep(in)) rebuildWanted = true;  // the volume rows show the change
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
