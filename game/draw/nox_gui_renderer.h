// nox_gui_renderer: the game's GUI renderer over the text layer. GUI
// coordinates (y down from the top) become the text layer's (y up from the
// bottom row): y -> height - round(y) - 1.
#pragma once
#include "gui.h"

struct NoxGuiRenderer : IGuiRenderer {
    int32_t width() override;   // the back buffer
    int32_t height() override;
    int32_t unit() override;    // the font's cell height
    void fillRect(float x0, float y0, float x1, float y1, uint32_t colour) override;
    void frameRect(float x0, float y0, float x1, float y1, uint32_t colour) override;
    void drawText(const char* text, int len, float x, float y, int hAlign, int vAlign, uint32_t colour,
                  int scale) override;
    void measureText(const char* text, int len, float* w, float* h, int scale) override;
};

extern NoxGuiRenderer noxGuiRenderer;
