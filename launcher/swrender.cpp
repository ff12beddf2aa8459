// swrender: blending, clipping, glyph blits, text and the font loader.
#include "swrender.h"
#include <algorithm>
#include <cmath>
#include "tga.h"

//---------------------------------------------------------------------------
// Pixel arithmetic
//---------------------------------------------------------------------------

// Arithmetic shift right by 8 of a two's-complement word, spelled out so
// the lane arithmetic below is exact under any compiler and sanitizer.
static inline uint32_t sar8(uint32_t x) { return (x >> 8) | ((0u - (x >> 31)) << 24); }

static inline uint32_t blend(uint32_t c, uint32_t d) {
    uint32_t a = c >> 24;
    uint32_t drb = d & 0x00FF00FFu, dg = d & 0x0000FF00u;
    // Unsigned wrap-around gives the two's-complement bits of the signed
    // differences; the products would overflow a signed word.
    uint32_t rb = ((c & 0x00FF00FFu) - drb) * a + 0x00800080u;
    uint32_t g = ((c & 0x0000FF00u) - dg) * a + 0x00008000u;
    rb = (sar8((sar8(rb) & 0x00FF00FFu) + rb) + drb) & 0x00FF00FFu;
    g = (sar8(sar8(g) + g) + dg) & 0x0000FF00u;
    return rb | g;
}

uint32_t blendPixel(uint32_t c, uint32_t d) { return blend(c, d); }

static inline uint32_t modulate(uint32_t s, uint32_t c) {
    uint32_t a = ((s >> 24) * ((c >> 24) + 1)) >> 8;
    uint32_t r = (((s >> 16) & 0xFF) * (((c >> 16) & 0xFF) + 1)) >> 8;
    uint32_t g = (((s >> 8) & 0xFF) * (((c >> 8) & 0xFF) + 1)) >> 8;
    uint32_t b = ((s & 0xFF) * ((c & 0xFF) + 1)) >> 8;
    return (a << 24) | (r << 16) | (g << 8) | b;
}

// Nearest integer, ties to even. Huge or invalid coordinates are pinned far
// outside any target so that the integer arithmetic after them cannot overflow.
static int roundCoord(float v) {
    if (!(v > -1e9f)) return -1000000000;
    if (v > 1e9f) return 1000000000;
    return (int)std::nearbyint(v);
}

//---------------------------------------------------------------------------
// Renderer state
//---------------------------------------------------------------------------

SoftwareGuiRenderer::SoftwareGuiRenderer()
    : buffer(nullptr), pitch(0), targetWidth(0), targetHeight(0), curFont(nullptr) {}

SoftwareGuiRenderer::~SoftwareGuiRenderer() {
    buffer = nullptr;
    curFont = nullptr;
    for (SoftwareFont* f : fonts) delete f;
    fonts.release();
}

int32_t SoftwareGuiRenderer::width() { return targetWidth; }
int32_t SoftwareGuiRenderer::height() { return targetHeight; }
int32_t SoftwareGuiRenderer::unit() { return curFont ? curFont->cellHeight : 8; }
void SoftwareGuiRenderer::setFont(SoftwareFont* font) { curFont = font; }

void SoftwareGuiRenderer::setTarget(uint32_t* pixels, int32_t p, int32_t w, int32_t h) {
    buffer = pixels;
    pitch = p;
    targetWidth = w;
    targetHeight = h;
}

static inline uint32_t* targetRow(uint32_t* buffer, int32_t pitch, int y) {
    return (uint32_t*)((uint8_t*)buffer + (ptrdiff_t)y * pitch);
}

void SoftwareGuiRenderer::clear(uint32_t colour) {
    ASSERT(buffer);
    for (int y = 0; y < targetHeight; y++) {
        std::fill_n(targetRow(buffer, pitch, y), targetWidth, colour);
    }
}

//---------------------------------------------------------------------------
// Rectangles
//---------------------------------------------------------------------------

void SoftwareGuiRenderer::blendRect(int x, int y, int w, int h, uint32_t colour) {
    int64_t x0 = x, y0 = y, cw = w, ch = h;
    if (x0 < 0) { cw += x0; x0 = 0; }
    if (y0 < 0) { ch += y0; y0 = 0; }
    if (x0 + cw > targetWidth) cw = targetWidth - x0;
    if (y0 + ch > targetHeight) ch = targetHeight - y0;
    if (cw <= 0 || ch <= 0) return;
    // A rectangle mostly covers runs of one colour (a cleared buffer, a
    // parent's background): reuse the last result while the pixel repeats.
    uint32_t lastIn = 0, lastOut = blend(colour, 0);
    for (int64_t j = 0; j < ch; j++) {
        uint32_t* row = targetRow(buffer, pitch, (int)(y0 + j)) + x0;
        for (int64_t i = 0; i < cw; i++) {
            uint32_t d = row[i];
            if (d != lastIn) {
                lastIn = d;
                lastOut = blend(colour, d);
            }
            row[i] = lastOut;
        }
    }
}

void SoftwareGuiRenderer::fillRect(float x0, float y0, float x1, float y1, uint32_t colour) {
    ASSERT(buffer);
    int X0 = roundCoord(x0), Y0 = roundCoord(y0);
    blendRect(X0, Y0, roundCoord(x1) - X0, roundCoord(y1) - Y0, colour);
}

void SoftwareGuiRenderer::frameRect(float x0, float y0, float x1, float y1, uint32_t colour) {
    ASSERT(buffer);
    int X0 = roundCoord(x0), Y0 = roundCoord(y0), X1 = roundCoord(x1), Y1 = roundCoord(y1);
    int w = X1 - X0 + 1;
    blendRect(X0, Y0, w, 1, colour);
    blendRect(X0, Y1, w, 1, colour);
    blendRect(X0, Y0 + 1, 1, Y1 - Y0 - 1, colour);
    blendRect(X1, Y0 + 1, 1, Y1 - Y0 - 1, colour);
}

//---------------------------------------------------------------------------
// Glyphs and text
//---------------------------------------------------------------------------

void SoftwareGuiRenderer::blitGlyph(int dx, int dy, int w, int h, const SoftwareFont* font, int srcX, int srcY,
                                    int sx, int sy, uint32_t colour) {
    if (w <= 0 || h <= 0 || sx <= 0 || sy <= 0) return;
    // Clipping on the left or top keeps the source in step, part-way through
    // a magnified source pixel if need be.
    int phaseX = 0, phaseY = 0;
    if (dx < 0) {
        srcX += (-dx) / sx;
        phaseX = (-dx) % sx;
        w += dx;
        dx = 0;
    }
    if (dy < 0) {
        srcY -= (-dy) / sy;  // source rows run downward in the bottom-up image
        phaseY = (-dy) % sy;
        h += dy;
        dy = 0;
    }
    if ((int64_t)dx + w > targetWidth) w = targetWidth - dx;
    if ((int64_t)dy + h > targetHeight) h = targetHeight - dy;
    if (w <= 0 || h <= 0) return;

    const uint32_t* srcRow = font->pixels.data + (ptrdiff_t)srcY * font->imageWidth + srcX;
    int py = phaseY;
    for (int j = 0; j < h; j++) {
        uint32_t* dst = targetRow(buffer, pitch, dy + j) + dx;
        const uint32_t* s = srcRow;
        int px = phaseX;
        // Modulated once per source pixel, not per magnified destination pixel.
        uint32_t m = modulate(*s, colour);
        for (int i = 0; i < w; i++) {
            // Alpha 0 leaves the colour; the blend would only clear the alpha byte.
            dst[i] = (m >> 24) ? blend(m, dst[i]) : (dst[i] & 0x00FFFFFFu);
            if (++px == sx && i + 1 < w) {
                px = 0;
                m = modulate(*++s, colour);
            }
        }
        if (++py == sy) {
            py = 0;
            srcRow -= font->imageWidth;
        }
    }
}

void SoftwareGuiRenderer::measureText(const char* text, int len, float* w, float* h, int scale) {
    ASSERT(curFont);
    if (!text) text = "";
    if (len < 0) len = (int)strlen(text);
    int line = 0, mw = 0, mh = 0;
    for (int i = 0; i < len; i++) {
        unsigned k = (unsigned char)text[i];
        if (k == '\n') {
            if (line > mw) mw = line;
            line = 0;
            mh += scale * curFont->cellHeight;
        } else {
            const int32_t* g = curFont->glyphs[k];
            line += scale * (g[GlyphX1] - g[GlyphX0] + 1);
        }
    }
    if (line > mw) mw = line;
    if (line > 0) mh += scale * curFont->cellHeight;
    *w = (float)mw;
    *h = (float)mh;
}

void SoftwareGuiRenderer::drawText(const char* text, int len, float x, float y, int hAlign, int vAlign,
                                   uint32_t colour, int scale) {
    ASSERT(buffer);
    ASSERT(curFont);
    if (!text) text = "";
    if (len < 0) len = (int)strlen(text);
    int lineHeight = scale * curFont->cellHeight;
    float tw, th;
    measureText(text, len, &tw, &th, scale);
    int x0 = roundCoord(x) - (roundCoord(tw) * (hAlign + 1)) / 2;
    int y0 = roundCoord(y) - (roundCoord(th) * (vAlign + 1)) / 2;
    uint32_t shadow = (colour >> 25) << 24;  // black at half the alpha
    int px = x0, py = y0;
    for (int i = 0; i < len; i++) {
        unsigned k = (unsigned char)text[i];
        if (k == '\n') {
            py += lineHeight;
            px = x0;
            continue;
        }
        const int32_t* g = curFont->glyphs[k];
        if (k != 0 && k != ' ') {
            int gw = scale * (g[GlyphX1] - g[GlyphX0]), gh = scale * (g[GlyphY1] - g[GlyphY0]);
            blitGlyph(px + 1, py + 1, gw, gh, curFont, g[GlyphX0], g[GlyphY1] - 1, scale, scale, shadow);
            blitGlyph(px, py, gw, gh, curFont, g[GlyphX0], g[GlyphY1] - 1, scale, scale, colour);
        }
        px += scale * (g[GlyphX1] - g[GlyphX0] + 1);
    }
}

//---------------------------------------------------------------------------
// Fonts
//---------------------------------------------------------------------------

// True if any pixel of image column x between rows y0 and y1 (exclusive) is
// not fully transparent.
static bool columnUsed(const SoftwareFont* f, int x, int y0, int y1) {
    for (int y = y0; y < y1; y++)
        if (f->pixels[y * f->imageWidth + x] >> 24) return true;
    return false;
}

bool cutSoftwareFont(SoftwareFont* f, int w, int h) {
    if (w <= 0 || h <= 0 || w % 16 != 0 || h % 16 != 0 || f->pixels.num != w * h) return false;
    f->imageWidth = w;
    f->imageHeight = h;
    int cw = w / 16, ch = h / 16;
    f->cellHeight = ch;
    for (int k = 0; k < 256; k++) {
        int cx = (k % 16) * cw;
        int cy = (15 - k / 16) * ch;  // grid row 0 is the top of the bottom-up image
        int32_t* g = f->glyphs[k];
        int left = cx;
        while (left < cx + cw && !columnUsed(f, left, cy, cy + ch)) left++;
        if (left == cx + cw) {
            // A blank cell, such as the space, keeps a half-cell advance.
            g[GlyphX0] = cx;
            g[GlyphX1] = cx + cw / 2 + 1;
        } else {
            int right = cx + cw - 1;
            while (right > left && !columnUsed(f, right, cy, cy + ch)) right--;
            g[GlyphX0] = left;
            g[GlyphX1] = right + 1;
        }
        g[GlyphY0] = cy;
        g[GlyphY1] = cy + ch;
    }
    return true;
}

SoftwareFont* SoftwareGuiRenderer::loadFont(const char* name) {
    SoftwareFont* f = new SoftwareFont();
    int w = 0, h = 0;
    if (!readTgaFile(name, w, h, f->pixels)) fatalError("can't load font from %s", name);
    if (!cutSoftwareFont(f, w, h)) fatalError("expected 16x16 font grid in %s, got %dx%d image", name, w, h);
    fonts.push(f);
    return f;
}
