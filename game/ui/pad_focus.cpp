#include "pad_focus.h"
#include "input_sampling.h"

// The n-th shown button in tree order (null when there are fewer), and
// how many were passed; nothing is allocated, the focus is looked up every frame.
static GuiBox* nthButton(GuiBox* box, int n, int* seen) {
    if (!box || box->hidden()) return nullptr;
    if (box->commandId && (*seen)++ == n) return box;
    for (GuiBox* c : box->children)
        if (GuiBox* b = nthButton(c, n, seen)) return b;
    return nullptr;
}

static int buttonCount(GuiScreen* screen) {
    int seen = 0;
    nthButton(screen ? screen->root : nullptr, -1, &seen);
    return seen;
}

GuiBox* PadFocus::focused(GuiScreen* screen) {
    int count = buttonCount(screen);
    if (count == 0) return nullptr;
    if (index >= count) index = count - 1;
    if (index < 0) index = 0;
    int seen = 0;
    return nthButton(screen->root, index, &seen);
}

GuiBox* PadFocus::step(GuiScreen* screen, uint32_t pressed) {
    const uint32_t moves = ActionFocusPrevious | ActionFocusNext | ActionFocusPress;
    if (!(pressed & moves) || !focused(screen)) return nullptr;
    if (!visible) {
        visible = true;
        return nullptr;
    }
    int count = buttonCount(screen);
    if (pressed & ActionFocusPrevious) index = (index + count - 1) % count;
    if (pressed & ActionFocusNext) index = (index + 1) % count;
    if (!(pressed & ActionFocusPress)) return nullptr;
    holdPadUntilReleased();
    return focused(screen);
}

void PadFocus::draw(GuiScreen* screen) {
    GuiBox* b = visible ? focused(screen) : nullptr;
    if (!b || !screen->renderer) return;
    const GuiRect& r = b->paddingRect;
    for (int i = 1; i <= 2; i++)
        screen->renderer->frameRect(r.left - i, r.top - i, r.right - 1 + i, r.bottom - 1 + i, 0xFFFFF000);
}

void pressButton(GuiEventHandler* handler, GuiBox* button) {
    GuiCommandEvent ev(button->commandId, button);
    handler->handle(ev, button, 0);
}
