// gui_behaviour: the behaviour registry, "solidBox" and "button".
#include "gui_behaviour.h"
#include <strings.h>

GuiHittestHandler guiHittestHandler;
static SolidBoxBehaviour solidBoxBehaviour;
static ButtonBehaviour buttonBehaviour;
// Zero-initialised static storage: valid before any constructor runs.
static DynArray<GuiBehaviour*> behaviours;

//---------------------------------------------------------------------------
// Registry
//---------------------------------------------------------------------------

void registerBehaviour(GuiBehaviour* b) {
    if (!b) return;
    for (GuiBehaviour* r : behaviours)
        if (r == b) return;
    behaviours.push(b);
}

void unregisterBehaviour(GuiBehaviour* b) {
    for (int i = 0; i < behaviours.num; i++) {
        if (behaviours[i] == b) {
            behaviours.removeFast(i, 1);
            return;
        }
    }
}

GuiBehaviour* findBehaviour(const char* name) {
    if (!name) return nullptr;
    for (GuiBehaviour* b : behaviours)
        if (strcasecmp(b->name(), name) == 0) return b;
    return nullptr;
}

void applyBehaviour(GuiBox* box, const char* name) {
    GuiBehaviour* b = findBehaviour(name);
    if (b) b->attach(box);
}

void registerStandardBehaviours() {
    registerBehaviour(&solidBoxBehaviour);
    registerBehaviour(&buttonBehaviour);
}

void SolidBoxBehaviour::attach(GuiBox* box) { box->addHandler(&guiHittestHandler, -1); }

void ButtonBehaviour::attach(GuiBox* box) { box->addHandler(new ButtonEventHandler(), -1); }

//---------------------------------------------------------------------------
// Button
//---------------------------------------------------------------------------

enum { HeldButtons = InputFlagLeftButton | InputFlagRightButton };

ButtonEventHandler::ButtonEventHandler()
    : GuiEventHandler(GuiEvNotify | GuiEvButtonDown | GuiEvButtonUp | GuiEvLeave | GuiEvEnter),
      box(nullptr), normal(nullptr), over(nullptr), pressed(nullptr) {}

void ButtonEventHandler::attached(GuiBox* b) {
    box = b;
    normal = b->findBox(".normal");
    over = b->findBox(".over");
    pressed = b->findBox(".pressed");
    show(normal);
}

void ButtonEventHandler::detached(GuiBox* b) {
    (void)b;
    delete this;
}

void ButtonEventHandler::show(GuiBox* state) {
    GuiBox* looks[3] = {normal, over, pressed};
    for (GuiBox* l : looks)
        if (l) l->setHidden(l != state);
}

int32_t ButtonEventHandler::handle(GuiEvent& event, GuiBox* b, int mode) {
    (void)b;
    (void)mode;
    if (event.mask == GuiEvNotify) {
        // Any visibility change on the button or above resets its look; the
        // notification goes on to the rest of the subtree.
        show(normal);
        return 0;
    }
    if (!isShown(box)) return 0;
    const GuiInputRecord& in = static_cast<GuiInputEvent&>(event).input;
    bool held = (in.flags & HeldButtons) != 0;
    switch (event.mask) {
        case GuiEvEnter: show(held ? pressed : over); break;
        case GuiEvLeave: show(normal); break;
        case GuiEvButtonDown: show(pressed); break;
        case GuiEvButtonUp: {
            bool inside = hitTest(box, in.x, in.y) == box;
            show(held ? pressed : inside ? over : normal);
            if (!held && inside) {
                GuiCommandEvent cmd(box->commandId, box);
                propagateEvent(cmd, box, PropagateUp, nullptr);
            }
            break;
        }
        default: return 0;
    }
    return 1;
}
