// gui_builder: the one way screens are built from boxes, texts and push
// buttons, for the game's screens and the launcher alike. A description
// record says what differs from the defaults; the builder creates the box,
// fills it and hangs it into its parent.
#pragma once
#include <cstdint>
#include "gui.h"

// The colours of every screen (ARGB words).
enum GuiColour : uint32_t {
    GuiColourWhite = 0xFFFFFFFF,
    GuiColourTitle = 0xFFFFF000,       // titles and picked upgrades
    GuiColourLabel = 0xFFC8C8C8,       // labels; button text at rest
    GuiColourNote = 0xFFCCCCCC,        // the end screen's lines
    GuiColourUnaffordable = 0xFF880000,
    GuiColourSmallPrint = 0xFF808080,
    GuiColourBackground = 0xFF101010,  // the launcher's screen
    // Push buttons: face and the lit (top, left) and shaded (right, bottom)
    // edges, at rest and under the pointer or pressed.
    GuiColourButtonFace = 0xFF323232,
    GuiColourButtonLight = 0xFF505050,
    GuiColourButtonShade = 0xFF1E1E1E,
    GuiColourButtonFaceHot = 0xFF646464,
    GuiColourButtonLightHot = 0xFF828282,
    GuiColourButtonShadeHot = 0xFF464646,
};

// Position that appends a box after its parent's last child.
enum { GuiAppend = 0x7FFFFFFF };

// One box. Lengths in groups of four are indexed by GuiSide (top, left,
// right, bottom).
struct GuiBoxDesc {
    GuiBox* parent = nullptr;
    int position = GuiAppend;  // among the parent's children, by GuiBox::addChild's rule
    const char* name = nullptr;
    GuiLen width = guiAuto(), height = guiAuto();
    GuiLen margin[4] = {guiAuto(), guiAuto(), guiAuto(), guiAuto()};
    GuiLen padding[4] = {guiPixels(0), guiPixels(0), guiPixels(0), guiPixels(0)};
    const char* text = nullptr;  // at most 255 characters; null leaves none
    uint32_t textColour = GuiColourWhite;
    int textScale = 1;
    int hAlign = 0, vAlign = 0;  // -1 left/top, 1 right/bottom, else centred
    uint32_t background = 0;     // 0: none
    int32_t command = 0;         // sent when the box is a button
};

GuiBox* buildBox(const GuiBoxDesc& desc);

// A push button: an auto-sized container with the margins and paddings that
// sends command, holding the looks ".normal", ".over" and ".pressed" of
// width x height, each with the centred label and edges of edgeWidth; the
// pressed look is moved right and down by edgeWidth. "solidBox" and
// "button" are applied to the container (behaviours must be registered).
struct GuiButtonDesc {
    GuiBox* parent = nullptr;
    int position = GuiAppend;  // of the container among its parent's children, and of each look
    int32_t command = 0;
    const char* label = "";
    int labelScale = 1;
    GuiLen width = guiUnits(1), height = guiUnits(1);
    GuiLen margin[4] = {guiAuto(), guiAuto(), guiAuto(), guiAuto()};
    GuiLen padding[4] = {guiPixels(0), guiPixels(0), guiPixels(0), guiPixels(0)};
    GuiLen edgeWidth = guiUnits(1.0f / 8.0f);
};

GuiBox* buildButton(const GuiButtonDesc& desc);

// Sets the text of every look of the button that exists.
void setButtonLabel(GuiBox* button, const char* label);
