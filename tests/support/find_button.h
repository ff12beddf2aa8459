// The shown button of a screen's tree that sends a command.
#pragma once
#include "gui.h"

inline GuiBox* findButton(GuiBox* box, int32_t command) {
    if (!box || box->hidden()) return nullptr;
    if (box->commandId == command) return box;
    for (GuiBox* c : box->children)
        if (GuiBox* b = findButton(c, command)) return b;
    return nullptr;
}
