// screen_build: the box, text and button builders both game screens use on
// top of the GUI toolkit. Each new box is appended as the last child of the
// parent when one is given. Margins and paddings are given top, left,
// right, bottom.
#pragma once
#include "gui.h"

// The renderer the game's screens are laid out and drawn with; set once at
// start-up (tests set their own).
extern IGuiRenderer* gameGuiRenderer;

GuiBox* createBox(GuiBox* parent, GuiLen width, GuiLen height, GuiLen mt, GuiLen ml, GuiLen mr, GuiLen mb,
                  GuiLen pt, GuiLen pl, GuiLen pr, GuiLen pb);
GuiBox* createTextBox(GuiBox* parent, const char* text, uint32_t colour, int scale, int hAlign, int vAlign,
                      GuiLen mt, GuiLen ml, GuiLen mr, GuiLen mb, GuiLen pt, GuiLen pl, GuiLen pr, GuiLen pb,
                      GuiLen width, GuiLen height);
// An outer box (auto size, the given margins and paddings, commandId) over
// three looks ".normal", ".over" and ".pressed" of the given size holding
// the centred text; "solidBox" and "button" applied.
GuiBox* createButton(GuiBox* parent, int32_t commandId, const char* text, int scale, GuiLen width, GuiLen height,
                     GuiLen mt, GuiLen ml, GuiLen mr, GuiLen mb, GuiLen pt, GuiLen pl, GuiLen pr, GuiLen pb);
// Sets the text of every look of a button made by createButton.
void setButtonLabel(GuiBox* button, const char* label);
