#include "nox_gui_renderer.h"
#include <cmath>
#include "device.h"
#include "font.h"

NoxGuiRenderer noxGuiRenderer;

// Nearest integer, ties to even.
static int px(float v) { return (int)nearbyintf(v); }

int32_t NoxGuiRenderer::width() { return deviceWidth(); }
int32_t NoxGuiRenderer::height() { return deviceHeight(); }
int32_t NoxGuiRenderer::unit() { return fontCellHeight; }

void NoxGuiRenderer::fillRect(float x0, float y0, float x1, float y1, uint32_t colour) {
    int H = height();
    ::fillRect(px(x0), H - px(y0) - 1, px(x1), H - px(y1) - 1, colour);
}

void NoxGuiRenderer::frameRect(float x0, float y0, float x1, float y1, uint32_t colour) {
    int H = height();
    ::frameRect(px(x0), H - px(y0) - 1, px(x1), H - px(y1) - 1, colour);
}

// The game's own text state stays as it was.
static void guiTextState(int scale) {
    pushTextState();
    textState.lineSpacing = 0;
    textState.charSpacing = 0;
    textState.fontScale = scale;
}

void NoxGuiRenderer::drawText(const char* text, int len, float x, float y, int hAlign, int vAlign, uint32_t colour,
                              int scale) {
    guiTextState(scale);
    ::drawText(text, len, px(x), height() - px(y) - 1, hAlign, -vAlign, colour);
    popTextState();
}

void NoxGuiRenderer::measureText(const char* text, int len, float* w, float* h, int scale) {
    guiTextState(scale);
    int iw = 0, ih = 0;
    ::measureText(text, len, &iw, &ih);
    *w = (float)iw;
    *h = (float)ih;
    popTextState();
}
