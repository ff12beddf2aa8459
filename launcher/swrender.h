// swrender: the launcher's GUI renderer, drawing into 32-bit pixels in memory.
//
// Integer arithmetic only: rectangles and bitmap-font glyphs are blended
// with red and blue in one word, and glyphs are magnified by whole numbers.
// Everything outside the target is clipped silently. No SDL, no GL; the
// launcher copies the finished buffer to its window.
#pragma once
#include <cstdint>
#include "gui.h"
#include "qz_dynArray.h"

// One font image cut into a 16 x 16 grid of characters.
struct SoftwareFont {
    // Per character code: the glyph's pixel box in the image, x1 and y1
    // exclusive, y counting rows from the bottom row upward.
    int32_t glyphs[256][4];
    int32_t cellHeight;
    DynArray<uint32_t> pixels;  // bottom row first
    int32_t imageWidth, imageHeight;
};

enum { GlyphX0 = 0, GlyphY0 = 1, GlyphX1 = 2, GlyphY1 = 3 };

// Cuts a font whose pixels, width and height are read into its 256 glyphs;
// false (nothing cut) when the size is not a 16 x 16 grid.
bool cutSoftwareFont(SoftwareFont* f, int width, int height);

struct ISoftwareGuiRenderer : IGuiRenderer {
    // Reads a TGA font image; a missing file or a size that is not a 16 x 16
    // grid is fatal. The renderer owns the font until it is destroyed.
    virtual SoftwareFont* loadFont(const char* name) = 0;
    virtual void setFont(SoftwareFont* font) = 0;
    // Rows pitch bytes apart, row 0 at the top.
    virtual void setTarget(uint32_t* pixels, int32_t pitch, int32_t width, int32_t height) = 0;
    // Every target pixel = colour, not blended.
    virtual void clear(uint32_t colour) = 0;
};

struct SoftwareGuiRenderer : ISoftwareGuiRenderer {
    uint32_t* buffer;  // null until setTarget
    int32_t pitch;     // bytes
    int32_t targetWidth, targetHeight;
    DynArray<SoftwareFont*> fonts;  // owning; every font ever loaded
    SoftwareFont* curFont;          // not owning

    SoftwareGuiRenderer();
    ~SoftwareGuiRenderer() override;
    SoftwareGuiRenderer(const SoftwareGuiRenderer&) = delete;
    SoftwareGuiRenderer& operator=(const SoftwareGuiRenderer&) = delete;

    // The target's size: the launcher points the target at its screen
    // buffer before it lays the screen out.
    int32_t width() override;
    int32_t height() override;
    // The current font's cell height; 8 without a font.
    int32_t unit() override;
    void fillRect(float x0, float y0, float x1, float y1, uint32_t colour) override;
    void frameRect(float x0, float y0, float x1, float y1, uint32_t colour) override;
    void drawText(const char* text, int len, float x, float y, int hAlign, int vAlign, uint32_t colour,
                  int scale) override;
    void measureText(const char* text, int len, float* w, float* h, int scale) override;

    SoftwareFont* loadFont(const char* name) override;
    void setFont(SoftwareFont* font) override;
    void setTarget(uint32_t* pixels, int32_t pitch, int32_t width, int32_t height) override;
    void clear(uint32_t colour) override;

    // Blends colour over the rectangle, clipped to the target.
    void blendRect(int x, int y, int w, int h, uint32_t colour);
    // Blits a glyph of w x h destination pixels from source pixel (srcX,
    // srcY) downward in the image, magnified sx x sy and modulated by colour.
    void blitGlyph(int dx, int dy, int w, int h, const SoftwareFont* font, int srcX, int srcY, int sx, int sy,
                   uint32_t colour);
};

// c over d with c's alpha; the result's alpha byte is 0. Integer rounding
// with red and blue blended together in one word.
uint32_t blendPixel(uint32_t c, uint32_t d);
