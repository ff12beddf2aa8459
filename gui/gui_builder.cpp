#include "gui_builder.h"
#include "gui_behaviour.h"

GuiBox* buildBox(const GuiBoxDesc& desc) {
    GuiBox* b = new GuiBox();
    if (desc.name) b->name.assign(desc.name);
    b->width = desc.width;
    b->height = desc.height;
    for (int i = 0; i < 4; i++) {
        b->margin[i] = desc.margin[i];
        b->padding[i] = desc.padding[i];
    }
    if (desc.text) b->text.assign(desc.text);
    b->textColour = desc.textColour;
    b->textScale = (int8_t)desc.textScale;
    b->hAlign = (int8_t)desc.hAlign;
    b->vAlign = (int8_t)desc.vAlign;
    b->bgColour = desc.background;
    b->commandId = desc.command;
    if (desc.parent) desc.parent->addChild(b, desc.position);
    return b;
}

struct ButtonLook {
    const char* name;
    uint32_t text, face, light, shade;
    bool pressed;  // moved right and down by one edge
};

static const ButtonLook buttonLooks[3] = {
    {".normal", GuiColourLabel, GuiColourButtonFace, GuiColourButtonLight, GuiColourButtonShade, false},
    {".over", GuiColourWhite, GuiColourButtonFaceHot, GuiColourButtonLightHot, GuiColourButtonShadeHot, false},
    {".pressed", GuiColourWhite, GuiColourButtonFaceHot, GuiColourButtonLightHot, GuiColourButtonShadeHot, true},
};

GuiBox* buildButton(const GuiButtonDesc& desc) {
    GuiBoxDesc container;
    container.parent = desc.parent;
    container.position = desc.position;
    for (int i = 0; i < 4; i++) {
        container.margin[i] = desc.margin[i];
        container.padding[i] = desc.padding[i];
    }
    container.command = desc.command;
    GuiBox* outer = buildBox(container);
    for (const ButtonLook& look : buttonLooks) {
        GuiBoxDesc d;
        d.parent = outer;
        d.position = desc.position;
        d.name = look.name;
        d.width = desc.width;
        d.height = desc.height;
        for (int i = 0; i < 4; i++) d.margin[i] = guiPixels(0);
        d.text = desc.label;
        d.textColour = look.text;
        d.textScale = desc.labelScale;
        d.background = look.face;
        GuiBox* b = buildBox(d);
        b->borderColour[GuiTop] = b->borderColour[GuiLeft] = look.light;
        b->borderColour[GuiRight] = b->borderColour[GuiBottom] = look.shade;
        for (int side = 0; side < 4; side++) b->border[side] = desc.edgeWidth;
        if (look.pressed) b->offsetX = b->offsetY = desc.edgeWidth;
    }
    applyBehaviour(outer, "solidBox");
    applyBehaviour(outer, "button");
    return outer;
}

void setButtonLabel(GuiBox* button, const char* label) {
    for (const ButtonLook& look : buttonLooks) {
        GuiBox* b = button->findBox(look.name);
        if (b) b->text.assign(label);
    }
}
