// screen_modes: the upgrade screen and the end-of-demo screen.
#include "screen_modes.h"
#include "level.h"
#include "product.h"
#include "progress.h"
#include "qz_utils.h"
#include "screen_build.h"
#include "services.h"
#include "step_input.h"
#include "world.h"

static UpgradeGameMode upgradeModeInstance;
static EndDemoGameMode endDemoModeInstance;
GameMode& upgradeMode = upgradeModeInstance;
GameMode& endDemoMode = endDemoModeInstance;
UpgradeGameMode& upgradeModeObject() { return upgradeModeInstance; }
EndDemoGameMode& endDemoModeObject() { return endDemoModeInstance; }

UpgradeScreenState upgradeScreen;

static const uint32_t yellow = 0xFFFFF000, grey = 0xFFC8C8C8, darkRed = 0xFF880000;

//---------------------------------------------------------------------------
// Screen modes
//---------------------------------------------------------------------------

void ScreenGameMode::showScreen(GuiBox* root) {
    scr = new GuiScreen(gameGuiRenderer, root, 40, 30);
    root->addHandler(this, -1);
    focus = PadFocus();
}

void ScreenGameMode::update(float) {
    if (scr && stepInput.guiFromRecord) {
        // A replay presses the recorded buttons; the pointer plays no part.
        for (int i = 0; i < stepInput.numGuiCommands; i++) {
            GuiCommandEvent ev(stepInput.guiCommands[i], nullptr);
            handle(ev, scr->root, 0);
        }
    } else if (scr) {
        scr->processInput();
        if (GuiBox* b = scr && currentMode == this ? focus.step(scr, stepInput.pressed) : nullptr) pressButton(this, b);
    }
    if (scr && currentMode != this) {
        delete scr;
        scr = nullptr;
    }
}

void ScreenGameMode::renderOverlay(float) {
    if (scr) scr->draw();
    focus.draw(scr);
}

void ScreenGameMode::onResize() {
    if (scr) scr->relayout();
}

//---------------------------------------------------------------------------
// Upgrade screen
//---------------------------------------------------------------------------

GuiBox* buildUpgradeScreen() {
    UpgradeScreenState& u = upgradeScreen;
    u.nameBoxes.clear();
    u.costBoxes.clear();
    u.plusButtons.clear();
    u.minusButtons.clear();
    GuiLen a = guiAuto(), p0 = guiPixels(0);

    GuiBox* root = createBox(nullptr, guiUnits(40), guiUnits(30), a, a, a, a, p0, p0, p0, p0);
    root->name.assign("root");
    createTextBox(root, "ZENTREL!", yellow, 4, 0, 0, guiUnits(1), a, a, a, p0, p0, p0, p0, a, a);
    FixedString<32> level;
    level.format("REACHED LEVEL %d", levelNumber);
    createTextBox(root, level, yellow, 1, 0, 0, guiUnits(5), a, a, a, p0, p0, p0, p0, a, a);

    GuiBox* nameColumn = createBox(root, guiUnits(24), a, guiUnits(9), p0, a, a, p0, p0, p0, p0);
    GuiBox* nameBlock = createBox(nameColumn, a, a, p0, a, p0, a, p0, p0, p0, p0);
    GuiBox* costColumn = createBox(root, guiUnits(3), a, guiUnits(9), guiUnits(24), a, a, p0, p0, p0, p0);
    createTextBox(nameBlock, "Upgrade points:", grey, 1, 1, 0, guiUnits(-2), a, p0, a, p0, p0, p0, p0, a, a);
    u.pointsBox = createTextBox(costColumn, "##", grey, 1, 1, 0, guiUnits(-2), a, p0, a, p0, p0, p0, p0, a, a);

    // The small buttons are one unit square less two screen pixels.
    float side = 1.0f - 2.0f / (float)(gameGuiRenderer ? gameGuiRenderer->unit() : 8);
    for (int i = 0; i < u.offeredUpgrades.num; i++) {
        GuiLen row = guiUnits((float)i);
        FixedString<32> name = u.offeredUpgrades[i]->getName();
        GuiBox* nameBox = createTextBox(nameBlock, name, grey, 1, -1, 0, row, p0, a, a, p0, p0, p0, p0, a, a);
        GuiBox* costBox = createTextBox(costColumn, "##", grey, 1, 1, 0, row, a, p0, a, p0, p0, p0, p0, a, a);
        GuiBox* plus = createButton(costColumn, 10 + 2 * i, "+", 1, guiUnits(side), guiUnits(side), row, a,
                                    guiUnits(-1.5f), a, p0, p0, p0, p0);
        GuiBox* minus = createButton(costColumn, 11 + 2 * i, "-", 1, guiUnits(side), guiUnits(side), row, a,
                                     guiUnits(-2.5f), a, p0, p0, p0, p0);
        u.nameBoxes.push(nameBox);
        u.costBoxes.push(costBox);
        u.plusButtons.push(plus);
        u.minusButtons.push(minus);
    }
    createButton(root, 1, "GO!", 3, guiUnits(12), guiUnits(5), a, a, guiUnits(5), guiUnits(1), p0, p0, p0, p0);
    refreshUpgradeScreen();
    return root;
}

void refreshUpgradeScreen() {
    UpgradeScreenState& u = upgradeScreen;
    u.pointsBox->text.format("%02d", u.pendingPoints);
    for (int i = 0; i < u.offeredUpgrades.num; i++) {
        int32_t price = u.offeredUpgrades[i]->cost();
        bool picked = u.chosen[i] == 1;
        bool affordable = u.pendingPoints >= price;
        uint32_t colour = picked ? yellow : (!affordable ? darkRed : grey);
        u.costBoxes[i]->text.format("%d", price);
        u.costBoxes[i]->textColour = colour;
        u.nameBoxes[i]->textColour = colour;
        u.plusButtons[i]->setHidden(picked || !affordable);
        u.minusButtons[i]->setHidden(u.chosen[i] == 0);
    }
}

void UpgradeGameMode::enter(GameMode*) {
    ASSERT(!scr);
    UpgradeScreenState& u = upgradeScreen;
    u.pendingPoints = upgradePoints;
    u.offeredUpgrades.clear();
    for (int i = 0; upgradeTable[i]; i++)
        if (upgradeTable[i]->canUpgrade() && upgradePoints >= upgradeTable[i]->cost()) u.offeredUpgrades.push(upgradeTable[i]);
    u.chosen.resize(u.offeredUpgrades.num);
    for (int32_t& c : u.chosen) c = 0;
    showScreen(buildUpgradeScreen());
    gameServices->playMusic(MusicScreens);
}

int32_t UpgradeGameMode::handle(GuiEvent& event, GuiBox*, int) {
    // Two clicks queued in one step: the second arrives after "GO!" already
    // switched modes and must not apply the picks again.
    int32_t n = static_cast<GuiCommandEvent&>(event).command;
    if (!noteGuiCommand(n) || currentMode != this) return 1;
    UpgradeScreenState& u = upgradeScreen;
    if (n == 1) {
        for (int i = 0; i < u.offeredUpgrades.num; i++)
            if (u.chosen[i]) u.offeredUpgrades[i]->apply();
        upgradePoints = u.pendingPoints;
        gameServices->playScreenSound(SoundUpgradeGo);
        setGameMode(&playMode);
    } else if (n >= 10) {
        int row = (n - 10) / 2;
        if (row >= u.offeredUpgrades.num) return 1;
        int32_t price = u.offeredUpgrades[row]->cost();
        if ((n - 10) % 2 == 0) {
            u.chosen[row] += 1;
            u.pendingPoints -= price;
            gameServices->playScreenSound(SoundUpgradePlus);
        } else {
            u.chosen[row] -= 1;
            u.pendingPoints += price;
            gameServices->playScreenSound(SoundUpgradeMinus);
        }
        refreshUpgradeScreen();
    }
    return 1;
}

//---------------------------------------------------------------------------
// End of the demo
//---------------------------------------------------------------------------

GuiBox* buildEndDemoScreen() {
    GuiLen a = guiAuto(), p0 = guiPixels(0);
    const uint32_t text = 0xFFCCCCCC;
    GuiBox* root = createBox(nullptr, guiUnits(40), guiUnits(30), a, a, a, a, p0, p0, p0, p0);
    root->name.assign("root");
    createTextBox(root, "ZENTREL!", yellow, 4, 0, 0, guiUnits(1), a, a, a, p0, p0, p0, p0, a, a);
    createTextBox(root, "End of DEMO", yellow, 2, 0, 0, guiUnits(5), a, a, a, p0, p0, p0, p0, a, a);
    createTextBox(root, "Thanks for playing!", text, 1, 0, 0, guiUnits(9), a, a, a, p0, p0, p0, p0, a, a);
    createTextBox(root, "You can get the game at", text, 1, 0, 0, guiUnits(10.5f), a, a, a, p0, p0, p0, p0, a, a);
    createTextBox(root, productWebAddress, text, 1, 0, 0, guiUnits(12), a, a, a, p0, p0, p0, p0, a, a);
    createButton(root, 2, "Quit", 2, guiUnits(12), guiUnits(5), a, guiUnits(5), a, guiUnits(1), p0, p0, p0, p0);
    createButton(root, 1, "Restart", 2, guiUnits(12), guiUnits(5), a, a, guiUnits(5), guiUnits(1), p0, p0, p0, p0);
    return root;
}

void EndDemoGameMode::enter(GameMode*) {
    ASSERT(!scr);
    showScreen(buildEndDemoScreen());
    gameServices->playMusic(MusicNone);
    gameServices->playScreenSound(SoundEndScreen);
}

int32_t EndDemoGameMode::handle(GuiEvent& event, GuiBox*, int) {
    int32_t n = static_cast<GuiCommandEvent&>(event).command;
    if (!noteGuiCommand(n) || currentMode != this) return 1;
    if (n == 1) {
        newGame();
        setGameMode(&playMode);
    } else if (n == 2) {
        gameServices->quitGame();
    }
    return 1;
}
