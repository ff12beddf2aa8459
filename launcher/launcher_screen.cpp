#include "launcher_screen.h"
#include "display_options.h"
#include "gui_builder.h"
#include "settings.h"

int32_t fontUnit = 8;
GuiBox* optionButtons[4];

//---------------------------------------------------------------------------
// Options
//---------------------------------------------------------------------------

const char* optionLabel(int32_t command) {
    switch (command) {
        case CmdToggleFullscreen: return optFullscreen ? "Fullscreen" : "In window";
        case CmdToggleAntiAlias: return optAntiAlias ? "Anti-aliasing: on" : "Anti-aliasing: off";
        case CmdToggleVSync: return optVSync ? "VSync: on" : "VSync: off";
        case CmdToggleFastVoxels: return optFastVoxels ? "Fast voxels" : "Normal voxels";
    }
    return "";
}

void updateOptionLabels() {
    // The looks have fixed sizes, so a new label needs no relayout.
    for (int i = 0; i < 4; i++)
        if (optionButtons[i]) setButtonLabel(optionButtons[i], optionLabel(CmdToggleFullscreen + i));
}

bool toggleOption(int32_t command) {
    switch (command) {
        case CmdToggleFullscreen: optFullscreen = !optFullscreen; return true;
        case CmdToggleAntiAlias: optAntiAlias = !optAntiAlias; return true;
        case CmdToggleVSync: optVSync = !optVSync; return true;
        case CmdToggleFastVoxels: optFastVoxels = !optFastVoxels; return true;
    }
    return false;
}

void loadFlags() {
    DisplayFlags f = readDisplayFlags();
    optFullscreen = f.fullscreen;
    optAntiAlias = f.antiAlias;
    optVSync = f.vSync;
    optFastVoxels = f.fastVoxels;
}

bool saveFlags() {
    DisplayFlags f = {optFullscreen, optAntiAlias, optVSync, optFastVoxels};
    return writeSettingDword("flags", encodeFlags(f));
}

//---------------------------------------------------------------------------
// The screen
//---------------------------------------------------------------------------

GuiBox* buildLauncherScreen() {
    GuiBoxDesc root;
    root.position = -1;
    root.name = "root";
    root.width = guiUnits(40);
    root.height = guiUnits(30);
    root.background = GuiColourBackground;
    GuiBox* screen = buildBox(root);

    GuiBoxDesc line;
    line.parent = screen;
    line.position = -1;
    line.textColour = GuiColourTitle;
    line.margin[GuiTop] = guiUnits(1);
    line.text = "ZENTREL!";
    line.textScale = 4;
    buildBox(line);
    line.margin[GuiTop] = guiUnits(5);
    line.text = "Version " ZENTREL_VERSION " DEMO";
    line.textScale = 1;
    buildBox(line);

    GuiButtonDesc button;
    button.parent = screen;
    button.position = -1;
    // One font pixel, so the edges grow with the screen's magnification.
    button.edgeWidth = guiUnits(1.0f / (float)fontUnit);
    button.labelScale = 2;
    button.width = guiUnits(25);
    button.height = guiUnits(3);
    for (int i = 0; i < 4; i++) {
        button.margin[GuiTop] = guiUnits(6.5f + 4.0f * (float)i);
        button.command = CmdToggleFullscreen + i;
        optionButtons[i] = buildButton(button);
    }
    updateOptionLabels();

    line.margin[GuiTop] = guiAuto();
    line.margin[GuiBottom] = guiUnits(0.5f);
    line.text = "A game by Pelnaro Games";
    line.textColour = GuiColourSmallPrint;
    buildBox(line);

    button.labelScale = 3;
    button.width = guiUnits(11);
    button.height = guiUnits(5);
    button.margin[GuiTop] = guiAuto();
    button.margin[GuiRight] = guiUnits(1);
    button.margin[GuiBottom] = guiUnits(2);
    button.command = CmdPlay;
    button.label = "Play";
    buildButton(button);
    button.margin[GuiLeft] = guiUnits(1);
    button.margin[GuiRight] = guiAuto();
    button.command = CmdQuit;
    button.label = "Quit";
    buildButton(button);
    button.labelScale = 2;
    button.width = guiUnits(13);
    button.margin[GuiLeft] = guiAuto();
    button.command = CmdVisitSite;
    button.label = "Visit site";
    buildButton(button);
    return screen;
}
