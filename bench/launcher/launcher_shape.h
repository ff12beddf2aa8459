// A screen of the launcher's shape for measuring the software renderer:
// a 40 x 30-unit root, two texts, four option toggles, a notice line and
// three buttons, each button with its three looks.
#pragma once
#include "gui_behaviour.h"

namespace launcher_shape {

inline GuiBox* addBox(GuiBox* parent, GuiLen w, GuiLen h, const float margins[4]) {
    GuiBox* b = new GuiBox();
    b->width = w;
    b->height = h;
    for (int i = 0; i < 4; i++) b->margin[i] = margins[i] < 0 ? guiAuto() : guiUnits(margins[i]);
    if (parent) parent->addChild(b, -1);
    return b;
}

inline GuiBox* addText(GuiBox* parent, const char* text, uint32_t colour, int scale, const float margins[4]) {
    GuiBox* b = addBox(parent, guiAuto(), guiAuto(), margins);
    b->text = text;
    b->textColour = colour;
    b->textScale = (int8_t)scale;
    return b;
}

inline GuiBox* addButton(GuiBox* parent, int command, const char* label, int scale, float w, float h,
                         const float margins[4], int fontUnit) {
    static const float none[4] = {0, 0, 0, 0};
    GuiBox* c = addBox(parent, guiAuto(), guiAuto(), margins);
    c->commandId = command;
    struct Look {
        const char* name;
        uint32_t bg, text, light, dark;
        bool shifted;
    } looks[3] = {{".normal", 0xFF323232, 0xFFC8C8C8, 0xFF505050, 0xFF1E1E1E, false},
                  {".over", 0xFF646464, 0xFFFFFFFF, 0xFF828282, 0xFF464646, false},
                  {".pressed", 0xFF646464, 0xFFFFFFFF, 0xFF828282, 0xFF464646, true}};
    for (const Look& l : looks) {
        GuiBox* s = addBox(c, guiUnits(w), guiUnits(h), none);
        s->name = l.name;
        s->text = label;
        s->textScale = (int8_t)scale;
        s->bgColour = l.bg;
        s->textColour = l.text;
        for (int i = 0; i < 4; i++) s->border[i] = guiUnits(1.0f / (float)fontUnit);
        s->borderColour[GuiTop] = s->borderColour[GuiLeft] = l.light;
        s->borderColour[GuiRight] = s->borderColour[GuiBottom] = l.dark;
        if (l.shifted) s->offsetX = s->offsetY = guiUnits(1.0f / (float)fontUnit);
    }
    applyBehaviour(c, "solidBox");
    applyBehaviour(c, "button");
    return c;
}

inline GuiBox* build(int fontUnit) {
    registerStandardBehaviours();
    const float A = -1;  // auto margin
    const float all[4] = {A, A, A, A};
    GuiBox* root = addBox(nullptr, guiUnits(40), guiUnits(30), all);
    root->name = "root";
    root->bgColour = 0xFF101010;
    const float title[4] = {1, A, A, A}, version[4] = {5, A, A, A};
    addText(root, "ZENTREL!", 0xFFFFF000, 4, title);
    addText(root, "Version 0.01 DEMO", 0xFFFFF000, 1, version);
    const char* labels[4] = {"In window", "Anti-aliasing: off", "VSync: on", "Normal voxels"};
    for (int i = 0; i < 4; i++) {
        const float m[4] = {6.5f + 4 * i, A, A, A};
        addButton(root, 4 + i, labels[i], 2, 25, 3, m, fontUnit);
    }
    const float notice[4] = {A, A, A, 0.5f};
    addText(root, "Pelnaro Games", 0xFF808080, 1, notice);
    const float play[4] = {A, A, 1, 2}, quit[4] = {A, 1, A, 2}, site[4] = {A, A, A, 2};
    addButton(root, 1, "Play", 3, 11, 5, play, fontUnit);
    addButton(root, 2, "Quit", 3, 11, 5, quit, fontUnit);
    addButton(root, 3, "Visit site", 2, 13, 5, site, fontUnit);
    return root;
}

}  // namespace launcher_shape
