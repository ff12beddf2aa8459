// layout: box layout, measuring and the per-axis solver.
#include "layout.h"

static float screenUnit(GuiScreen* screen) {
    // Layout works in whole pixels per unit.
    return screen ? (float)(int)screen->unit() : 8.0f;
}

// Replaces auto width and height copies by the measured content size.
static void sizeCopies(GuiBox* box, GuiScreen* screen, GuiLen* w, GuiLen* h) {
    *w = box->width;
    *h = box->height;
    if (w->mode == GuiLenAuto || h->mode == GuiLenAuto) {
        float cw, ch;
        measureBox(box, screen, &cw, &ch);
        if (w->mode == GuiLenAuto) *w = guiPixels(cw);
        if (h->mode == GuiLenAuto) *h = guiPixels(ch);
    }
}

void layoutBox(GuiBox* box, GuiScreen* screen) {
    GuiRect P;
    if (box->parent) P = box->parent->contentRect;
    else if (screen) P = screen->rootRect();
    else P = GuiRect{0, 0, 640, 480};
    float W = P.right - P.left;
    float unit = screenUnit(screen);

    GuiLen width, height;
    sizeCopies(box, screen, &width, &height);
    GuiLen padding[4], margin[4];
    for (int i = 0; i < 4; i++) {
        padding[i] = box->padding[i];
        margin[i] = box->margin[i];
    }
    float* bp = box->borderPx;
    resolveLens4(box->border, unit, W, 0, bp);

    float X = solveAxis(margin[GuiLeft], bp[GuiLeft], padding[GuiLeft], width, padding[GuiRight],
                        bp[GuiRight], margin[GuiRight], P.left, P.right, unit, W);
    float Y = solveAxis(margin[GuiTop], bp[GuiTop], padding[GuiTop], height, padding[GuiBottom],
                        bp[GuiBottom], margin[GuiBottom], P.top, P.bottom, unit, W);

    GuiRect o = {P.top, P.left, P.left + X, P.top + Y};
    float dx = resolveLen(box->offsetX, unit, W, 0);
    float dy = resolveLen(box->offsetY, unit, W, 0);
    o.left += dx;
    o.right += dx;
    o.top += dy;
    o.bottom += dy;
    box->outerRect = o;

    float m[4], p[4];
    resolveLens4(margin, unit, W, 0, m);
    GuiRect r = o;
    r.left += m[GuiLeft] + bp[GuiLeft];
    r.right -= m[GuiRight] + bp[GuiRight];
    r.top += m[GuiTop] + bp[GuiTop];
    r.bottom -= m[GuiBottom] + bp[GuiBottom];
    box->paddingRect = r;

    resolveLens4(padding, unit, W, 0, p);
    r.left += p[GuiLeft];
    r.right -= p[GuiRight];
    r.top += p[GuiTop];
    r.bottom -= p[GuiBottom];
    box->contentRect = r;

    for (int i = 0; i < box->children.num; i++) layoutBox(box->children[i], screen);
}

float solveAxis(GuiLen& beforeMargin, float beforeBorder, GuiLen& beforePadding, const GuiLen& size,
                GuiLen& afterPadding, float afterBorder, GuiLen& afterMargin, float start, float end,
                float unit, float base) {
    float avail = end - start;
    if (avail < 0) avail = 0;
    float total = resolveLen(beforeMargin, unit, base, 0);
    total += beforeBorder;
    total += resolveLen(beforePadding, unit, base, 0);
    total += resolveLen(size, unit, base, 0);
    total += resolveLen(afterPadding, unit, base, 0);
    total += afterBorder;
    total += resolveLen(afterMargin, unit, base, 0);
    if (avail <= total) return total;

    GuiLen* flexible[4] = {&beforeMargin, &beforePadding, &afterPadding, &afterMargin};
    int n = 0;
    for (GuiLen* l : flexible)
        if (l->mode == GuiLenAuto) n++;
    if (n == 0) return total;
    float share = (avail - total) / (float)n;
    for (GuiLen* l : flexible)
        if (l->mode == GuiLenAuto) *l = guiPixels(share);
    return avail;
}

void measureBox(GuiBox* box, GuiScreen* screen, float* w, float* h) {
    *w = 0;
    *h = 0;
    if (screen) screen->measureContent(box, w, h);
    for (int i = 0; i < box->children.num; i++) {
        float cw, ch;
        childExtent(box->children[i], screen, &cw, &ch);
        if (cw > *w) *w = cw;
        if (ch > *h) *h = ch;
    }
}

void GuiScreen::measureContent(GuiBox* box, float* w, float* h) {
    *w = 0;
    *h = 0;
    if (!box) return;
    float u = unit();
    *w = resolveLen(box->width, u, 0, 0);
    *h = resolveLen(box->height, u, 0, 0);
    bool autoW = box->width.mode == GuiLenAuto, autoH = box->height.mode == GuiLenAuto;
    if (box->text.buf[0] && (autoW || autoH)) {
        float tw, th;
        renderer->measureText(box->text, -1, &tw, &th, box->textScale * scale);
        if (autoW) *w = tw;
        if (autoH) *h = th;
    }
}

void childExtent(GuiBox* box, GuiScreen* screen, float* w, float* h) {
    float unit = screenUnit(screen);
    GuiLen width, height;
    sizeCopies(box, screen, &width, &height);

    const GuiLen* across[7] = {&box->margin[GuiLeft], &box->border[GuiLeft], &box->padding[GuiLeft], &width,
                               &box->padding[GuiRight], &box->border[GuiRight], &box->margin[GuiRight]};
    double px = 0, units = 0, fraction = 0;
    for (const GuiLen* l : across) {
        switch (l->mode) {
            case GuiLenAuto: break;
            case GuiLenPixels: px += l->value; break;
            case GuiLenUnits: units += l->value; break;
            case GuiLenPercent: fraction += l->value * 0.01; break;
            default: ASSERT(!"unknown GuiLen mode");
        }
    }
    double fixed = px + units * unit;
    // The parent width P must satisfy P = fixed + fraction x P.
    double outerW = fraction < 1 ? fixed / (1 - fraction) : fixed;
    *w = (float)outerW;

    const GuiLen* down[7] = {&box->margin[GuiBottom], &box->border[GuiBottom], &box->padding[GuiBottom], &height,
                             &box->padding[GuiTop], &box->border[GuiTop], &box->margin[GuiTop]};
    float sum = 0;
    for (const GuiLen* l : down) sum += resolveLen(*l, unit, *w, 0);
    *h = sum;
}
