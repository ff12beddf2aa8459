#include "pad_focus.h"
#include "qz_dynArray.h"
#include "step_input.h"

static void collectButtons(GuiBox* box, DynArray<GuiBox*>* out) {
    if (!box || box->hidden()) return;
    if (box->commandId) out->push(box);
    for (GuiBox* c : box->children) collectButtons(c, out);
}

GuiBox* PadFocus::focused(GuiScreen* screen) {
    DynArray<GuiBox*> buttons;
    collectButtons(screen ? screen->root : nullptr, &buttons);
    if (buttons.num == 0) return nullptr;
    if (index >= buttons.num) index = buttons.num - 1;
    if (index < 0) index = 0;
    return buttons[index];
}

GuiBox* PadFocus::step(GuiScreen* screen, uint32_t pressed) {
    const uint32_t moves = ActionFocusPrevious | ActionFocusNext | ActionFocusPress;
    if (!(pressed & moves) || !focused(screen)) return nullptr;
    if (!visible) {
        visible = true;
        return nullptr;
    }
    DynArray<GuiBox*> buttons;
    collectButtons(screen->root, &buttons);
    if (pressed & ActionFocusPrevious) index = (index + buttons.num - 1) % buttons.num;
    if (pressed & ActionFocusNext) index = (index + 1) % buttons.num;
    return (pressed & ActionFocusPress) ? focused(screen) : nullptr;
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
