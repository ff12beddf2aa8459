// screen_modes: the upgrade screen between levels and the end-of-demo
// screen. Each screen exists only while its mode is current: built in
// enter, destroyed in the first update after another mode took over.
#pragma once
#include "game_mode.h"
#include "gui.h"
#include "pad_focus.h"
#include "qz_dynArray.h"

// A mode that shows one GUI screen over a black background and routes its
// buttons' commands to itself. The screen goes in the first update after
// another mode became current (the switch happens inside its own handler).
class ScreenGameMode : public GameMode, public GuiEventHandler {
public:
    GuiScreen* scr = nullptr;
    PadFocus focus;

    ScreenGameMode() : GuiEventHandler(GuiEvCommand) {}
    void leave(GameMode*) override {}
    void update(float dt) override;
    void renderScene(float) override {}
    void renderOverlay(float t) override;
    void onResize() override;

protected:
    // Creates the screen over the game's GUI renderer with this mode as the
    // root's last handler.
    void showScreen(GuiBox* root);
};

// Commands of the two screens' buttons.
enum ScreenCommand {
    CmdGo = 1,          // upgrade screen: apply the picks and play on
    CmdRestart = 1,     // end screen: a new game
    CmdQuitGame = 2,    // end screen: shutdown and exit code 0
    CmdUpgradeRows = 10,  // "+" of row i is CmdUpgradeRows + 2i, its "-" the next number
};

class UpgradeGameMode : public ScreenGameMode {
public:
    void enter(GameMode* previous) override;
    // "GO!" (CmdGo), "+" and "-" of each row (from CmdUpgradeRows).
    int32_t handle(GuiEvent& event, GuiBox* box, int mode) override;
};

class EndDemoGameMode : public ScreenGameMode {
public:
    void enter(GameMode* previous) override;
    // "Restart" (CmdRestart): a new game; "Quit" (CmdQuitGame): hostServices->quitGame().
    int32_t handle(GuiEvent& event, GuiBox* box, int mode) override;
};

// The upgrade screen's boxes for this visit, rebuilt on every entry; the
// picks they show are upgradePicks (progress.h).
struct UpgradeScreenState {
    GuiBox* pointsBox;
    DynArray<GuiBox*> nameBoxes, costBoxes, plusButtons, minusButtons;
};
extern UpgradeScreenState upgradeScreen;

GuiBox* buildUpgradeScreen();
void refreshUpgradeScreen();
GuiBox* buildEndDemoScreen();


UpgradeGameMode& upgradeModeObject();
EndDemoGameMode& endDemoModeObject();
// Hands the two screen modes to the rules (upgradeMode, endDemoMode); at
// start-up, before the first level. Calling it again changes nothing.
void registerScreenModes();
