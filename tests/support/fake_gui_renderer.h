// A renderer that draws nothing: it records the calls and measures text as
// 6 pixels per character and 8 per line, both times the scale.
#pragma once
#include <string>
#include <vector>
#include "gui.h"

struct FakeGuiRenderer : IGuiRenderer {
    struct Call {
        std::string what;  // "fill", "frame" or the text drawn
        float x0, y0, x1, y1;
        uint32_t colour;
        int hAlign, vAlign, scale;
    };
    int w = 640, h = 480, u = 8;
    std::vector<Call> calls;

    int32_t width() override { return w; }
    int32_t height() override { return h; }
    int32_t unit() override { return u; }
    void fillRect(float x0, float y0, float x1, float y1, uint32_t c) override {
        calls.push_back({"fill", x0, y0, x1, y1, c, 0, 0, 0});
    }
    void frameRect(float x0, float y0, float x1, float y1, uint32_t c) override {
        calls.push_back({"frame", x0, y0, x1, y1, c, 0, 0, 0});
    }
    void drawText(const char* text, int len, float x, float y, int ha, int va, uint32_t c, int scale) override {
        std::string s = len < 0 ? std::string(text) : std::string(text, (size_t)len);
        calls.push_back({s, x, y, 0, 0, c, ha, va, scale});
    }
    void measureText(const char* text, int len, float* mw, float* mh, int scale) override {
        if (len < 0) len = (int)strlen(text);
        int line = 0, widest = 0, lines = 0;
        for (int i = 0; i < len; i++) {
            if (text[i] == '\n') {
                lines++;
                line = 0;
            } else if (++line > widest) {
                widest = line;
            }
        }
        if (line > 0) lines++;
        *mw = (float)(widest * 6 * scale);
        *mh = (float)(lines * 8 * scale);
    }
};
