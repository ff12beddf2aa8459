// font: the bitmap font and the batched 2D layer for all text and flat
// rectangles drawn over the scene. "font.tga" is a 16 x 16 grid of cells;
// each character's width comes from the ink in its cell. Coordinates are
// screen pixels from the bottom-left corner, y upwards; integer coordinates
// lie on pixel edges. Colours are ARGB words.
#pragma once
#include <cstdint>

struct Glyph {
    int32_t left;    // first texel column
    int32_t bottom;  // first stored row of the cell
    int32_t right;   // one past the last texel column
    int32_t top;     // one past the last stored row (bottom + cell height)
};

struct TextState {
    int32_t lineSpacing;  // extra pixels between lines
    int32_t charSpacing;  // extra pixels between characters
    int32_t fontScale;    // texels are fontScale x fontScale pixels, >= 1
};

// Program state. glyphs and the cell size: read from the font by initFont,
// kept until shutdown. textState: spacings as the caller sets them; the
// scale chosen by initFont and again after every resize.
extern TextState textState;
extern Glyph glyphs[256];
extern int32_t fontCellWidth, fontCellHeight;

enum { FONT_QUADS = 1024 };

// Loads "font.tga", cuts it, makes the texture, layout, shader and buffer;
// every failure is fatal. Logs "font scale: %d".
void initFont();
void shutdownFont();
// The glyph table and cell size from a sheet (rows in stored order); fatal
// unless both sides are positive multiples of 16.
void cutFontSheet(const uint32_t* pixels, int width, int height);
// fontScale from the back buffer height; logs "font scale: %d".
void updateFontScale();
int fontScaleForHeight(int height);

void pushTextState();
void popTextState();

// One batch per frame: everything queued between these is drawn by endText
// (and whenever 1024 quads are pending).
void beginText();
void endText();

// length -1: up to the terminating zero; null is empty. alignX -1/0/1 puts
// x at the block's left edge, centre or right edge; alignY -1/0/1 puts y at
// its bottom, centre or top.
void drawText(const char* text, int length, int x, int y, int alignX, int alignY, uint32_t colour);
void measureText(const char* text, int length, int* width, int* height);
int lineHeight();
// Corners (x0, y0) bottom-left and (x1, y1) top-right.
void fillRect(int x0, int y0, int x1, int y1, uint32_t colour);
// Four one-pixel edges; the right and top edges lie on columns x1 and y1.
void frameRect(int x0, int y0, int x1, int y1, uint32_t colour);

// Draws one frame of the loading screen at once: the text centred at a
// quarter of the height, with a progress bar when progress >= 0.
void showLoadingText(const char* text, float progress);

// Draw calls issued by the text layer, for tests.
extern uint64_t textDrawCount;
