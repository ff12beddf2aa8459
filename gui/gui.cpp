// gui: lengths, the box tree, event routing and hit-testing.
#include "gui.h"

//---------------------------------------------------------------------------
// Lengths
//---------------------------------------------------------------------------

float resolveLen(const GuiLen& len, float unit, float base, float autoValue) {
    switch (len.mode) {
        case GuiLenAuto: return autoValue;
        case GuiLenPixels: return len.value;
        case GuiLenUnits: return len.value * unit;
        case GuiLenPercent: return len.value * 0.01f * base;
    }
    ASSERT(!"unknown GuiLen mode");
    return 0;
}

void resolveLens4(const GuiLen lens[4], float unit, float base, float autoValue, float out[4]) {
    for (int i = 0; i < 4; i++) out[i] = resolveLen(lens[i], unit, base, autoValue);
}

//---------------------------------------------------------------------------
// Boxes
//---------------------------------------------------------------------------

GuiBox::GuiBox()
    : contentRect(), paddingRect(), outerRect(), borderPx(), parent(nullptr), bgColour(0),
      textColour(0xFFFFFFFF), textScale(1), hAlign(0), vAlign(0), flags(0),
      width(guiAuto()), height(guiAuto()), offsetX(guiUnits(0)), offsetY(guiUnits(0)),
      eventMask(0), commandId(0) {
    for (int i = 0; i < 4; i++) {
        borderColour[i] = 0xFF808080;
        padding[i] = guiUnits(0);
        border[i] = guiUnits(0);
        margin[i] = guiUnits(0);
    }
}

GuiBox::~GuiBox() {
    detachFromParent();
    // Each child's own destructor detaches it, so the list shrinks as we go.
    while (children.num > 0) delete children[children.num - 1];
    while (handlers.num > 0) {
        GuiEventHandler* h = handlers[handlers.num - 1];
        handlers.remove(handlers.num - 1, 1);
        h->detached(this);
    }
    // A detached() callback must not hand the dying box new work.
    ASSERT(children.num==0);
    ASSERT(handlers.num==0);
    children.release();
    handlers.release();
}

// Negative positions count from the end: p + count, so -1 is "before the last".
static int insertPosition(int position, int count) {
    if (position < 0) position += count;
    if (position < 0) position = 0;
    if (position > count) position = count;
    return position;
}

void GuiBox::addChild(GuiBox* child, int position) {
    if (!child) return;
    child->detachFromParent();
    int at = insertPosition(position, children.num);
    children.insert(at, 1, &child);
    child->parent = this;
}

void GuiBox::detachFromParent() {
    if (!parent) return;
    DynArray<GuiBox*>& list = parent->children;
    for (int i = list.num - 1; i >= 0; i--) {
        if (list[i] == this) {
            list.remove(i, 1);
            break;
        }
    }
    parent = nullptr;
}

void GuiBox::addHandler(GuiEventHandler* handler, int position) {
    if (!handler) return;
    int at = insertPosition(position, handlers.num);
    handlers.insert(at, 1, &handler);
    handler->attached(this);
    eventMask |= handler->eventMask;
}

void GuiBox::removeHandler(GuiEventHandler* handler) {
    if (!handler) return;
    for (int i = handlers.num - 1; i >= 0; i--) {
        if (handlers[i] == handler) {
            handlers.remove(i, 1);
            break;
        }
    }
    handler->detached(this);
    eventMask = 0;
    for (GuiEventHandler* h : handlers) eventMask |= h->eventMask;
}

GuiBox* GuiBox::findBox(const char* wanted) {
    if (!wanted || !wanted[0]) return nullptr;
    if (strcmp(name.c_str(), wanted) == 0) return this;
    for (GuiBox* c : children) {
        GuiBox* found = c->findBox(wanted);
        if (found) return found;
    }
    return nullptr;
}

void GuiBox::setHidden(bool hide) {
    if (hide == hidden()) return;
    if (hide) flags |= GuiBoxHidden;
    else flags &= (uint8_t)~GuiBoxHidden;
    GuiNotifyEvent ev(this);
    propagateEvent(ev, this, PropagateSubtree, nullptr);
}

bool isShown(const GuiBox* box) {
    for (const GuiBox* b = box; b; b = b->parent)
        if (b->hidden()) return false;
    return true;
}

//---------------------------------------------------------------------------
// Routing
//---------------------------------------------------------------------------

int32_t deliverEvent(GuiBox* box, GuiEvent& event, int mode) {
    if (!(box->eventMask & event.mask)) return 0;
    // Index loop: a handler may remove itself (and only itself) while handling.
    for (int i = 0; i < box->handlers.num; i++) {
        GuiEventHandler* h = box->handlers[i];
        if (!(h->eventMask & event.mask)) continue;
        int32_t r = h->handle(event, box, mode);
        if (r != 0) return r;
    }
    return 0;
}

int32_t propagateEvent(GuiEvent& event, GuiBox* box, int mode, GuiBox* stop) {
    if (!box) return 0;
    switch (mode) {
        case PropagateDown: {
            if (box != stop && box->parent) {
                int32_t r = propagateEvent(event, box->parent, PropagateDown, stop);
                if (r != 0) return r;
            }
            return deliverEvent(box, event, mode);
        }
        case PropagateUp: {
            for (GuiBox* b = box; b; b = b->parent) {
                int32_t r = deliverEvent(b, event, mode);
                if (r != 0) return r;
                if (b == stop) break;
            }
            return 0;
        }
        case PropagateDirect:
            return deliverEvent(box, event, mode);
        case PropagateSubtree: {
            int32_t r = deliverEvent(box, event, mode);
            if (r == SkipSubtree) return 0;
            if (r != 0) return r;
            for (int i = 0; i < box->children.num; i++) {
                r = propagateEvent(event, box->children[i], PropagateSubtree, stop);
                if (r != 0) return r;
            }
            return 0;
        }
    }
    return 0;
}

GuiBox* hitTest(GuiBox* box, float x, float y) {
    GuiHittestEvent ev(x, y);
    if (box) propagateEvent(ev, box, PropagateSubtree, nullptr);
    return ev.result;
}

int32_t GuiHittestHandler::handle(GuiEvent& event, GuiBox* box, int mode) {
    (void)mode;
    if (event.mask != GuiEvHittest) return 0;
    GuiHittestEvent& ev = static_cast<GuiHittestEvent&>(event);
    if (box->hidden() || !contains(box, ev.x, ev.y)) return 0;
    ev.result = box;
    return 1;
}

bool GuiHittestHandler::contains(GuiBox* box, float x, float y) {
    // The border box: padding rectangle grown by the borders, margins excluded.
    const GuiRect& r = box->paddingRect;
    return r.left - box->borderPx[GuiLeft] <= x && x < r.right + box->borderPx[GuiRight] &&
           r.top - box->borderPx[GuiTop] <= y && y < r.bottom + box->borderPx[GuiBottom];
}
