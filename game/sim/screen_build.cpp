#include "screen_build.h"
#include "gui_builder.h"

IGuiRenderer* gameGuiRenderer = nullptr;

GuiBox* createBox(GuiBox* parent, GuiLen width, GuiLen height, GuiLen mt, GuiLen ml, GuiLen mr, GuiLen mb,
                  GuiLen pt, GuiLen pl, GuiLen pr, GuiLen pb) {
    GuiBoxDesc d;
    d.parent = parent;
    d.width = width;
    d.height = height;
    d.margin[GuiTop] = mt;
    d.margin[GuiLeft] = ml;
    d.margin[GuiRight] = mr;
    d.margin[GuiBottom] = mb;
    d.padding[GuiTop] = pt;
    d.padding[GuiLeft] = pl;
    d.padding[GuiRight] = pr;
    d.padding[GuiBottom] = pb;
    return buildBox(d);
}

GuiBox* createTextBox(GuiBox* parent, const char* text, uint32_t colour, int scale, int hAlign, int vAlign,
                      GuiLen mt, GuiLen ml, GuiLen mr, GuiLen mb, GuiLen pt, GuiLen pl, GuiLen pr, GuiLen pb,
                      GuiLen width, GuiLen height) {
    GuiBoxDesc d;
    d.parent = parent;
    d.width = width;
    d.height = height;
    d.margin[GuiTop] = mt;
    d.margin[GuiLeft] = ml;
    d.margin[GuiRight] = mr;
    d.margin[GuiBottom] = mb;
    d.padding[GuiTop] = pt;
    d.padding[GuiLeft] = pl;
    d.padding[GuiRight] = pr;
    d.padding[GuiBottom] = pb;
    d.text = text;
    d.textColour = colour;
    d.textScale = scale;
    d.hAlign = hAlign;
    d.vAlign = vAlign;
    return buildBox(d);
}

float screenPixel() { return 1.0f / (float)(gameGuiRenderer ? gameGuiRenderer->unit() : 8); }

GuiBox* createButton(GuiBox* parent, int32_t commandId, const char* text, int scale, GuiLen width, GuiLen height,
                     GuiLen mt, GuiLen ml, GuiLen mr, GuiLen mb, GuiLen pt, GuiLen pl, GuiLen pr, GuiLen pb) {
    GuiButtonDesc d;
    d.parent = parent;
    d.command = commandId;
    d.label = text;
    d.labelScale = scale;
    d.width = width;
    d.height = height;
    d.margin[GuiTop] = mt;
    d.margin[GuiLeft] = ml;
    d.margin[GuiRight] = mr;
    d.margin[GuiBottom] = mb;
    d.padding[GuiTop] = pt;
    d.padding[GuiLeft] = pl;
    d.padding[GuiRight] = pr;
    d.padding[GuiBottom] = pb;
    // The game's edges are one screen pixel per magnification step, whatever the font.
    d.edgeWidth = guiUnits(screenPixel());
    return buildButton(d);
}
