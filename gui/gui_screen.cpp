// gui: the screen object — drawing, input with capture and hover, relayout.
#include "gui.h"
#include "layout.h"

GuiScreen::GuiScreen(IGuiRenderer* r, GuiBox* rootBox, int32_t cols, int32_t rowCount)
    : root(rootBox), capture(nullptr), hover(nullptr), scale(1), columns(cols), rows(rowCount),
      renderer(r) {
    relayout();
}

GuiScreen::~GuiScreen() {
    capture = nullptr;
    hover = nullptr;
    delete root;
    root = nullptr;
}

float GuiScreen::unit() { return (float)renderer->unit() * (float)scale; }

GuiRect GuiScreen::rootRect() {
    GuiRect r;
    r.top = 0;
    r.left = 0;
    r.right = (float)renderer->width();
    r.bottom = (float)renderer->height();
    return r;
}

void GuiScreen::drawBox(GuiBox* box) {
    if (!box || box->hidden()) return;
    const GuiRect& p = box->paddingRect;
    float l = p.left, t = p.top, r = p.right, b = p.bottom;
    const float* bw = box->borderPx;
    const uint32_t* bc = box->borderColour;
    if (box->bgColour != 0) renderer->fillRect(l, t, r, b, box->bgColour);
    // The strips tile the frame like a pinwheel, so no corner is blended twice.
    if (bw[GuiTop] > 0 && bc[GuiTop] != 0)
        renderer->fillRect(l - bw[GuiLeft], t - bw[GuiTop], r, t, bc[GuiTop]);
    if (bw[GuiLeft] > 0 && bc[GuiLeft] != 0)
        renderer->fillRect(l - bw[GuiLeft], t, l, b + bw[GuiBottom], bc[GuiLeft]);
    if (bw[GuiRight] > 0 && bc[GuiRight] != 0)
        renderer->fillRect(r, t - bw[GuiTop], r + bw[GuiRight], b, bc[GuiRight]);
    if (bw[GuiBottom] > 0 && bc[GuiBottom] != 0)
        renderer->fillRect(l, b, r + bw[GuiRight], b + bw[GuiBottom], bc[GuiBottom]);
    if (box->text.buf[0] && box->textColour != 0) {
        const GuiRect& c = box->contentRect;
        // Any alignment other than -1 or 1 means centred, for the anchor and
        // for the renderer alike.
        int ha = (box->hAlign == -1 || box->hAlign == 1) ? box->hAlign : 0;
        int va = (box->vAlign == -1 || box->vAlign == 1) ? box->vAlign : 0;
        float x = ha == -1 ? c.left : ha == 1 ? c.right : (c.left + c.right) * 0.5f;
        float y = va == -1 ? c.top : va == 1 ? c.bottom : (c.top + c.bottom) * 0.5f;
        renderer->drawText(box->text, -1, x, y, ha, va, box->textColour, box->textScale * scale);
    }
    for (int i = 0; i < box->children.num; i++) drawBox(box->children[i]);
}

void GuiScreen::draw() {
    if (root) drawBox(root);
}

static void sendHoverEvent(GuiInputEvent& ev, uint32_t mask, GuiBox* box, GuiBox* root) {
    ev.mask = mask;
    propagateEvent(ev, box, PropagateDirect, root);
}

void GuiScreen::processInput() {
    GuiInputEvent ev;
    while (popInput(&ev.input)) {
        GuiBox* target;
        if (capture) {
            // Live state, not the record's flags: the capture ends with the
            // first record seen after both buttons are up.
            if (!keyHeld(VK_LBUTTON) && !keyHeld(VK_RBUTTON)) {
                target = capture;
                capture = nullptr;
            } else {
                // While captured only the capture box sees enter and leave.
                GuiBox* h = hitTest(root, ev.input.x, ev.input.y);
                if (h != hover) {
                    if (hover) {
                        sendHoverEvent(ev, GuiEvLeave, hover, root);
                        hover = nullptr;
                    }
                    if (h == capture) {
                        hover = h;
                        sendHoverEvent(ev, GuiEvEnter, h, root);
                    }
                }
                target = capture;
            }
        } else {
            if (!root) continue;
            GuiBox* h = hitTest(root, ev.input.x, ev.input.y);
            if (h != hover) {
                if (hover) sendHoverEvent(ev, GuiEvLeave, hover, root);
                hover = h;
                if (h) sendHoverEvent(ev, GuiEvEnter, h, root);
            }
            target = h;
        }
        dispatchInput(ev, target);
    }
}

void GuiScreen::dispatchInput(GuiInputEvent& ev, GuiBox* target) {
    int kind = ev.input.kind;
    if (kind == InputButtonDown) capture = target;
    switch (kind) {
        case InputKeyDown:
        case InputKeyUp: ev.mask = GuiEvKey; break;
        case InputButtonDown: ev.mask = GuiEvButtonDown; break;
        case InputButtonUp: ev.mask = GuiEvButtonUp; break;
        case InputMove: ev.mask = GuiEvMove; break;
        case InputWheel: ev.mask = GuiEvWheel; break;
        default: ASSERT(!"unknown input event type");
    }
    propagateEvent(ev, target, PropagateDirect, root);
}

void GuiScreen::relayout() {
    int u = renderer->unit();
    // A zero unit or design size would divide by zero; such a screen keeps scale 1.
    int sy = (u > 0 && rows > 0) ? renderer->height() / (u * rows) : 1;
    int sx = (u > 0 && columns > 0) ? renderer->width() / (u * columns) : 1;
    int s = sx < sy ? sx : sy;
    scale = s < 1 ? 1 : s;
    if (root) layoutBox(root, this);
}
