#include "screen_build.h"
#include "gui_builder.h"

IGuiRenderer* gameGuiRenderer = nullptr;

float screenPixel() { return 1.0f / (float)(gameGuiRenderer ? gameGuiRenderer->unit() : 8); }

GuiBox* buildScreenRoot() {
    GuiBoxDesc root;
    root.name = "root";
    root.width = guiUnits(40);
    root.height = guiUnits(30);
    return buildBox(root);
}

GuiBox* buildLine(GuiBox* parent, const char* text, uint32_t colour, int scale, float top) {
    GuiBoxDesc d;
    d.parent = parent;
    d.margin[GuiTop] = guiUnits(top);
    d.text = text;
    d.textColour = colour;
    d.textScale = scale;
    return buildBox(d);
}
