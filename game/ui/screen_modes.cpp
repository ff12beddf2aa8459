// screen_modes: the upgrade screen and the end-of-demo screen.
#include "screen_modes.h"
#include "level.h"
#include "product.h"
#include "progress.h"
#include "qz_utils.h"
#include "gui_builder.h"
#include "screen_build.h"
#include "services.h"
#include "step_input.h"
#include "world.h"

static UpgradeGameMode upgradeModeInstance;
static EndDemoGameMode endDemoModeInstance;
void registerScreenModes() {
    upgradeMode = &upgradeModeInstance;
    endDemoMode = &endDemoModeInstance;
}
UpgradeGameMode& upgradeModeObject() { return upgradeModeInstance; }
EndDemoGameMode& endDemoModeObject() { return endDemoModeInstance; }

UpgradeScreenState upgradeScreen;

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

// A text in one of the upgrade table's columns: row (units) from the
// column's top, flush with its left (-1) or right (1) side.
static GuiBox* buildCell(GuiBox* column, const char* text, float row, int hAlign) {
    GuiBoxDesc d;
    d.parent = column;
    d.margin[GuiTop] = guiUnits(row);
    d.margin[hAlign < 0 ? GuiLeft : GuiRight] = guiPixels(0);
    d.text = text;
    d.textColour = GuiColourLabel;
    d.hAlign = hAlign;
    return buildBox(d);
}

GuiBox* buildUpgradeScreen() {
    UpgradeScreenState& u = upgradeScreen;
    u.nameBoxes.clear();
    u.costBoxes.clear();
    u.plusButtons.clear();
    u.minusButtons.clear();

    GuiBox* root = buildScreenRoot();
    buildLine(root, "ZENTREL!", GuiColourTitle, 4, 1);
    FixedString<32> level;
    level.format("REACHED LEVEL %d", levelNumber);
    buildLine(root, level, GuiColourTitle, 1, 5);

    // Names flush right in a block at the left of the screen's middle, costs
    // and their buttons in a narrow column right of it.
    GuiBoxDesc column;
    column.parent = root;
    column.width = guiUnits(24);
    column.margin[GuiTop] = guiUnits(9);
    column.margin[GuiLeft] = guiPixels(0);
    GuiBox* nameColumn = buildBox(column);
    GuiBoxDesc block;
    block.parent = nameColumn;
    block.margin[GuiTop] = block.margin[GuiRight] = guiPixels(0);
    GuiBox* nameBlock = buildBox(block);
    column.width = guiUnits(3);
    column.margin[GuiLeft] = guiUnits(24);
    GuiBox* costColumn = buildBox(column);
    buildCell(nameBlock, "Upgrade points:", -2, 1);
    u.pointsBox = buildCell(costColumn, "##", -2, 1);

    // The small buttons are one unit square less two screen pixels.
    float side = 1.0f - 2.0f * screenPixel();
    GuiButtonDesc button;
    button.parent = costColumn;
    button.width = button.height = guiUnits(side);
    button.edgeWidth = guiUnits(screenPixel());
    for (int i = 0; i < upgradePicks.offered.num; i++) {
        FixedString<32> name = upgradePicks.offered[i]->getName();
        u.nameBoxes.push(buildCell(nameBlock, name, (float)i, -1));
        u.costBoxes.push(buildCell(costColumn, "##", (float)i, 1));
        button.margin[GuiTop] = guiUnits((float)i);
        button.command = CmdUpgradeRows + 2 * i;
        button.label = "+";
        button.margin[GuiRight] = guiUnits(-1.5f);
        u.plusButtons.push(buildButton(button));
        button.command = CmdUpgradeRows + 2 * i + 1;
        button.label = "-";
        button.margin[GuiRight] = guiUnits(-2.5f);
        u.minusButtons.push(buildButton(button));
    }
    GuiButtonDesc go;
    go.parent = root;
    go.command = CmdGo;
    go.label = "GO!";
    go.labelScale = 3;
    go.width = guiUnits(12);
    go.height = guiUnits(5);
    go.margin[GuiRight] = guiUnits(5);
    go.margin[GuiBottom] = guiUnits(1);
    go.edgeWidth = guiUnits(screenPixel());
    buildButton(go);
    refreshUpgradeScreen();
    return root;
}

void refreshUpgradeScreen() {
    UpgradeScreenState& u = upgradeScreen;
    const UpgradePicks& p = upgradePicks;
    u.pointsBox->text.format("%02d", p.pendingPoints);
    for (int i = 0; i < p.offered.num; i++) {
        int32_t price = p.offered[i]->cost();
        bool picked = p.chosen[i] == 1;
        bool affordable = p.pendingPoints >= price;
        uint32_t colour = picked ? GuiColourTitle : (!affordable ? GuiColourUnaffordable : GuiColourLabel);
        u.costBoxes[i]->text.format("%d", price);
        u.costBoxes[i]->textColour = colour;
        u.nameBoxes[i]->textColour = colour;
        u.plusButtons[i]->setHidden(picked || !affordable);
        u.minusButtons[i]->setHidden(p.chosen[i] == 0);
    }
}

void UpgradeGameMode::enter(GameMode*) {
    ASSERT(!scr);
    offerUpgrades();
    showScreen(buildUpgradeScreen());
    soundServices->playMusic(MusicScreens);
}

int32_t UpgradeGameMode::handle(GuiEvent& event, GuiBox*, int) {
    // Two clicks queued in one step: the second arrives after "GO!" already
    // switched modes and must not apply the picks again.
    int32_t n = static_cast<GuiCommandEvent&>(event).command;
    if (!noteGuiCommand(n) || currentMode != this) return 1;
    if (n == CmdGo) {
        applyUpgradePicks();
        soundServices->playScreenSound(SoundUpgradeGo);
        setGameMode(&playMode);
    } else if (n >= CmdUpgradeRows) {
        // The same rules as the buttons shown: a pick that cannot be paid for
        // or taken back does nothing, also when a recording asks for it.
        int row = (n - CmdUpgradeRows) / 2;
        bool plus = (n - CmdUpgradeRows) % 2 == 0;
        if (!(plus ? pickUpgrade(row) : unpickUpgrade(row))) return 1;
        soundServices->playScreenSound(plus ? SoundUpgradePlus : SoundUpgradeMinus);
        refreshUpgradeScreen();
    }
    return 1;
}

//---------------------------------------------------------------------------
// End of the demo
//---------------------------------------------------------------------------

GuiBox* buildEndDemoScreen() {
    GuiBox* root = buildScreenRoot();
    buildLine(root, "ZENTREL!", GuiColourTitle, 4, 1);
    buildLine(root, "End of DEMO", GuiColourTitle, 2, 5);
    buildLine(root, "Thanks for playing!", GuiColourNote, 1, 9);
    buildLine(root, "You can get the game at", GuiColourNote, 1, 10.5f);
    buildLine(root, productWebAddress, GuiColourNote, 1, 12);
    GuiButtonDesc button;
    button.parent = root;
    button.labelScale = 2;
    button.width = guiUnits(12);
    button.height = guiUnits(5);
    button.margin[GuiBottom] = guiUnits(1);
    button.edgeWidth = guiUnits(screenPixel());
    button.command = CmdQuitGame;
    button.label = "Quit";
    button.margin[GuiLeft] = guiUnits(5);
    buildButton(button);
    button.command = CmdRestart;
    button.label = "Restart";
    button.margin[GuiLeft] = guiAuto();
    button.margin[GuiRight] = guiUnits(5);
    buildButton(button);
    return root;
}

void EndDemoGameMode::enter(GameMode*) {
    ASSERT(!scr);
    showScreen(buildEndDemoScreen());
    soundServices->playMusic(MusicNone);
    soundServices->playScreenSound(SoundEndScreen);
}

int32_t EndDemoGameMode::handle(GuiEvent& event, GuiBox*, int) {
    int32_t n = static_cast<GuiCommandEvent&>(event).command;
    if (!noteGuiCommand(n) || currentMode != this) return 1;
    if (n == CmdRestart) {
        newGame();
        setGameMode(&playMode);
    } else if (n == CmdQuitGame) {
        hostServices->quitGame();
    }
    return 1;
}
