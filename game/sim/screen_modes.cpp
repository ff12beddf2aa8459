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
GameMode& upgradeMode = upgradeModeInstance;
GameMode& endDemoMode = endDemoModeInstance;
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

// The root both screens share: 40 x 30 units, centred.
static GuiBox* buildScreenRoot() {
    GuiBoxDesc root;
    root.name = "root";
    root.width = guiUnits(40);
    root.height = guiUnits(30);
    return buildBox(root);
}

// A line of text centred across the parent, its top at top units.
static GuiBox* buildLine(GuiBox* parent, const char* text, uint32_t colour, int scale, float top) {
    GuiBoxDesc d;
    d.parent = parent;
    d.margin[GuiTop] = guiUnits(top);
    d.text = text;
    d.textColour = colour;
    d.textScale = scale;
    return buildBox(d);
}

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
    for (int i = 0; i < u.offeredUpgrades.num; i++) {
        FixedString<32> name = u.offeredUpgrades[i]->getName();
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
    u.pointsBox->text.format("%02d", u.pendingPoints);
    for (int i = 0; i < u.offeredUpgrades.num; i++) {
        int32_t price = u.offeredUpgrades[i]->cost();
        bool picked = u.chosen[i] == 1;
        bool affordable = u.pendingPoints >= price;
        uint32_t colour = picked ? GuiColourTitle : (!affordable ? GuiColourUnaffordable : GuiColourLabel);
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
    if (n == CmdGo) {
        for (int i = 0; i < u.offeredUpgrades.num; i++)
            if (u.chosen[i]) u.offeredUpgrades[i]->apply();
        upgradePoints = u.pendingPoints;
        gameServices->playScreenSound(SoundUpgradeGo);
        setGameMode(&playMode);
    } else if (n >= CmdUpgradeRows) {
        int row = (n - CmdUpgradeRows) / 2;
        if (row >= u.offeredUpgrades.num) return 1;
        int32_t price = u.offeredUpgrades[row]->cost();
        if ((n - CmdUpgradeRows) % 2 == 0) {
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
    gameServices->playMusic(MusicNone);
    gameServices->playScreenSound(SoundEndScreen);
}

int32_t EndDemoGameMode::handle(GuiEvent& event, GuiBox*, int) {
    int32_t n = static_cast<GuiCommandEvent&>(event).command;
    if (!noteGuiCommand(n) || currentMode != this) return 1;
    if (n == CmdRestart) {
        newGame();
        setGameMode(&playMode);
    } else if (n == CmdQuitGame) {
        gameServices->quitGame();
    }
    return 1;
}
