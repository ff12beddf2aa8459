// Small font images for renderer tests and benchmarks: a 16 x 16 grid of
// cw x ch cells, built top-down (row 0 at the top of the picture) and
// written as a TGA file the way the real font image is stored.
#pragma once
#include <cstdint>
#include <string>
#include <vector>
#include "tga.h"

struct TestFont {
    int cw, ch;
    std::vector<uint32_t> pixels;  // top-down, 16 cw x 16 ch

    TestFont(int cellW, int cellH) : cw(cellW), ch(cellH), pixels((size_t)cellW * cellH * 256, 0) {}
    int width() const { return cw * 16; }
    int height() const { return ch * 16; }
    // (x, y) inside the cell of `code`, y from the cell's top.
    void set(int code, int x, int y, uint32_t argb) {
        int px = (code % 16) * cw + x, py = (code / 16) * ch + y;
        pixels[(size_t)py * width() + px] = argb;
    }
    // Fills columns x0..x1 of a glyph with a pattern that differs in every
    // pixel, so a shifted or mis-scaled blit cannot match by chance.
    void pattern(int code, int x0, int x1) {
        for (int y = 0; y < ch; y++)
            for (int x = x0; x <= x1; x++) {
                uint32_t v = (uint32_t)(code * 977 + x * 131 + y * 71);
                uint32_t alpha = (x + y) % 3 == 0 ? 0x80u : 0xFFu;
                set(code, x, y, (alpha << 24) | ((v * 2654435761u) & 0x00FFFFFFu));
            }
    }
    // Printable characters of varied widths; the rest stay blank.
    void fillPrintable() {
        for (int k = 33; k < 127; k++) pattern(k, k % 2, 1 + k % (cw - 2));
    }
    bool write(const std::string& path) const {
        return writeTgaFile(path.c_str(), pixels.data(), width(), height(), width() * 4);
    }
};
