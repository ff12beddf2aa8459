#include "screen_build.h"
#include "gui_builder.h"

IGuiRenderer* gameGuiRenderer = nullptr;

// The positional forms' margins and paddings, in the order they take them.
static void setEdges(GuiLen* margin, GuiLen* padding, GuiLen mt, GuiLen ml, GuiLen mr, GuiLen mb, GuiLen pt,
                     GuiLen pl, GuiLen pr, GuiLen pb) {
    margin[GuiTop] = mt;
    margin[GuiLeft] = ml;
    margin[GuiRight] = mr;
    margin[GuiBottom] = mb;
    padding[GuiTop] = pt;
    padding[GuiLeft] = pl;
    padding[GuiRight] = pr;
    padding[GuiBottom] = pb;
}

GuiBox* createBox(GuiBox* parent, GuiLen width, GuiLen height, GuiLen mt, GuiLen ml, GuiLen mr, GuiLen mb,
                  GuiLen pt, GuiLen pl, GuiLen pr, GuiLen pb) {
    GuiBoxDesc d;
    d.parent = parent;
    d.width = width;
    d.height = height;
    setEdges(d.margin, d.padding, mt, ml, mr, mb, pt, pl, pr, pb);
    return buildBox(d);
}

GuiBox* createTextBox(GuiBox* parent, const char* text, uint32_t colour, int scale, int hAlign, int vAlign,
                      GuiLen mt, GuiLen ml, GuiLen mr, GuiLen mb, GuiLen pt, GuiLen pl, GuiLen pr, GuiLen pb,
                      GuiLen width, GuiLen height) {
    GuiBoxDesc d;
    d.parent = parent;
    d.width = width;
    d.height = height;
    setEdges(d.margin, d.padding, mt, ml, mr, mb, pt, pl, pr, pb);
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
    setEdges(d.margin, d.padding, mt, ml, mr, mb, pt, pl, pr, pb);
    // The game's edges are one screen pixel per magnification step, whatever the font.
    d.edgeWidth = guiUnits(screenPixel());
    return buildButton(d);
}
