// pad_focus: a visible focus on one button of a screen, moved by the pad's
// d-pad and pressed with its south button, so every screen can be finished
// without a pointer. The press is handed to the screen's own handler as the
// button's command, the same way a click or a recording arrives.
#pragma once
#include <cstdint>
#include "gui.h"

struct PadFocus {
    int index = 0;         // among the screen's shown buttons, in tree order
    bool visible = false;  // shown from the first d-pad or south press

    // Applies the step's focus actions. Returns the button to press, or
    // null; the first use only shows the focus.
    GuiBox* step(GuiScreen* screen, uint32_t pressed);
    // A frame around the focused button.
    void draw(GuiScreen* screen);
    GuiBox* focused(GuiScreen* screen);
};

// Sends the button's command to the handler as a click would.
void pressButton(GuiEventHandler* handler, GuiBox* button);
