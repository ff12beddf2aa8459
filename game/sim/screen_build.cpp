#include "screen_build.h"
#include "gui_behaviour.h"

IGuiRenderer* gameGuiRenderer = nullptr;

GuiBox* createBox(GuiBox* parent, GuiLen width, GuiLen height, GuiLen mt, GuiLen ml, GuiLen mr, GuiLen mb,
                  GuiLen pt, GuiLen pl, GuiLen pr, GuiLen pb) {
    GuiBox* b = new GuiBox();
    b->width = width;
    b->height = height;
    b->margin[GuiTop] = mt;
    b->margin[GuiLeft] = ml;
    b->margin[GuiRight] = mr;
    b->margin[GuiBottom] = mb;
    b->padding[GuiTop] = pt;
    b->padding[GuiLeft] = pl;
    b->padding[GuiRight] = pr;
    b->padding[GuiBottom] = pb;
    if (parent) parent->addChild(b, parent->children.num);
    return b;
}

GuiBox* createTextBox(GuiBox* parent, const char* text, uint32_t colour, int scale, int hAlign, int vAlign,
                      GuiLen mt, GuiLen ml, GuiLen mr, GuiLen mb, GuiLen pt, GuiLen pl, GuiLen pr, GuiLen pb,
                      GuiLen width, GuiLen height) {
    GuiBox* b = createBox(parent, width, height, mt, ml, mr, mb, pt, pl, pr, pb);
    b->text.assign(text);
    b->textColour = colour;
    b->textScale = (int8_t)scale;
    b->hAlign = (int8_t)hAlign;
    b->vAlign = (int8_t)vAlign;
    return b;
}

struct ButtonLook {
    const char* name;
    uint32_t text, background, topLeft, bottomRight;
    bool offset;
};

static const ButtonLook buttonLooks[3] = {
    {".normal", 0xFFC8C8C8, 0xFF323232, 0xFF505050, 0xFF1E1E1E, false},
    {".over", 0xFFFFFFFF, 0xFF646464, 0xFF828282, 0xFF464646, false},
    {".pressed", 0xFFFFFFFF, 0xFF646464, 0xFF828282, 0xFF464646, true},
};

GuiBox* createButton(GuiBox* parent, int32_t commandId, const char* text, int scale, GuiLen width, GuiLen height,
                     GuiLen mt, GuiLen ml, GuiLen mr, GuiLen mb, GuiLen pt, GuiLen pl, GuiLen pr, GuiLen pb) {
    GuiBox* outer = createBox(parent, guiAuto(), guiAuto(), mt, ml, mr, mb, pt, pl, pr, pb);
    outer->commandId = commandId;
    // One screen pixel per magnification step, whatever the font.
    float pixel = 1.0f / (float)(gameGuiRenderer ? gameGuiRenderer->unit() : 8);
    GuiLen zero = guiPixels(0);
    for (const ButtonLook& look : buttonLooks) {
        GuiBox* b = createTextBox(outer, text, look.text, scale, 0, 0, zero, zero, zero, zero, zero, zero, zero, zero,
                                  width, height);
        b->name.assign(look.name);
        b->bgColour = look.background;
        b->borderColour[GuiTop] = b->borderColour[GuiLeft] = look.topLeft;
        b->borderColour[GuiRight] = b->borderColour[GuiBottom] = look.bottomRight;
        for (int side = 0; side < 4; side++) b->border[side] = guiUnits(pixel);
        if (look.offset) b->offsetX = b->offsetY = guiUnits(pixel);
    }
    applyBehaviour(outer, "solidBox");
    applyBehaviour(outer, "button");
    return outer;
}

void setButtonLabel(GuiBox* button, const char* label) {
    for (GuiBox* look : button->children) look->text.assign(label);
}
