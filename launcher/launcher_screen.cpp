#include "launcher_screen.h"
#include "display_options.h"
#include "gui_behaviour.h"
#include "settings.h"

int32_t fontUnit = 8;
GuiBox* optionButtons[4];

//---------------------------------------------------------------------------
// Building blocks
//---------------------------------------------------------------------------

GuiBox* makeBox(GuiLen width, GuiLen height, const GuiLen margins[4], const GuiLen paddings[4], GuiBox* parent) {
    GuiBox* b = new GuiBox();
    b->width = width;
    b->height = height;
    for (int i = 0; i < 4; i++) {
        b->margin[i] = margins[i];
        b->padding[i] = paddings[i];
    }
    if (parent) parent->addChild(b, -1);
    return b;
}

GuiBox* makeText(GuiBox* parent, const char* text, uint32_t colour, int scale, int hAlign, int vAlign,
                 const GuiLen margins[4], const GuiLen paddings[4], GuiLen width, GuiLen height) {
    GuiBox* b = makeBox(width, height, margins, paddings, parent);
    b->text = text;
    b->textColour = colour;
    b->textScale = (int8_t)scale;
    b->hAlign = (int8_t)hAlign;
    b->vAlign = (int8_t)vAlign;
    return b;
}

GuiBox* makeButton(GuiBox* parent, int32_t commandId, const char* label, int labelScale, float width,
                   float height, const GuiLen margins[4], const GuiLen paddings[4]) {
    static const GuiLen zero[4] = {guiUnits(0), guiUnits(0), guiUnits(0), guiUnits(0)};
    GuiBox* container = makeBox(guiAuto(), guiAuto(), margins, paddings, parent);
    container->commandId = commandId;

    struct Look {
        const char* name;
        uint32_t bg, text, lightEdge, darkEdge;
        bool shifted;  // the pressed look moves one font pixel right and down
    };
    static const Look looks[3] = {
        {".normal", 0xFF323232, 0xFFC8C8C8, 0xFF505050, 0xFF1E1E1E, false},
        {".over", 0xFF646464, 0xFFFFFFFF, 0xFF828282, 0xFF464646, false},
        {".pressed", 0xFF646464, 0xFFFFFFFF, 0xFF828282, 0xFF464646, true},
    };
    // One font pixel, so the edges grow with the screen's magnification.
    GuiLen fontPixel = guiUnits(1.0f / (float)fontUnit);
    for (const Look& l : looks) {
        GuiBox* s = makeText(container, label, l.text, labelScale, 0, 0, zero, zero, guiUnits(width),
                             guiUnits(height));
        s->name = l.name;
        s->bgColour = l.bg;
        for (int i = 0; i < 4; i++) s->border[i] = fontPixel;
        s->borderColour[GuiTop] = s->borderColour[GuiLeft] = l.lightEdge;
        s->borderColour[GuiRight] = s->borderColour[GuiBottom] = l.darkEdge;
        if (l.shifted) s->offsetX = s->offsetY = fontPixel;
    }
    applyBehaviour(container, "solidBox");
    applyBehaviour(container, "button");
    return container;
}

void setButtonLabel(GuiBox* button, const char* label) {
    static const char* const looks[3] = {".normal", ".over", ".pressed"};
    for (const char* name : looks) {
        GuiBox* b = button->findBox(name);
        if (b) b->text = label;
    }
}

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
    const GuiLen A = guiAuto();
    const GuiLen zero[4] = {guiUnits(0), guiUnits(0), guiUnits(0), guiUnits(0)};
    auto margins = [](GuiLen top, GuiLen left, GuiLen right, GuiLen bottom, GuiLen out[4]) {
        out[GuiTop] = top;
        out[GuiLeft] = left;
        out[GuiRight] = right;
        out[GuiBottom] = bottom;
    };
    GuiLen m[4];

    margins(A, A, A, A, m);
    GuiBox* root = makeBox(guiUnits(40), guiUnits(30), m, zero, nullptr);
    root->name = "root";
    root->bgColour = 0xFF101010;

    margins(guiUnits(1), A, A, A, m);
    makeText(root, "ZENTREL!", 0xFFFFF000, 4, 0, 0, m, zero, A, A);
    margins(guiUnits(5), A, A, A, m);
    makeText(root, "Version 0.01 DEMO", 0xFFFFF000, 1, 0, 0, m, zero, A, A);

    for (int i = 0; i < 4; i++) {
        margins(guiUnits(6.5f + 4.0f * (float)i), A, A, A, m);
        optionButtons[i] = makeButton(root, CmdToggleFullscreen + i, "", 2, 25, 3, m, zero);
    }
    updateOptionLabels();

    margins(A, A, A, guiUnits(0.5f), m);
    makeText(root, "A game by Pelnaro Games", 0xFF808080, 1, 0, 0, m, zero, A, A);

    margins(A, A, guiUnits(1), guiUnits(2), m);
    makeButton(root, CmdPlay, "Play", 3, 11, 5, m, zero);
    margins(A, guiUnits(1), A, guiUnits(2), m);
    makeButton(root, CmdQuit, "Quit", 3, 11, 5, m, zero);
    margins(A, A, A, guiUnits(2), m);
    makeButton(root, CmdVisitSite, "Visit site", 2, 13, 5, m, zero);
    return root;
}
