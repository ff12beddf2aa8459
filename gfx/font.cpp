// font: sheet cutting, text layout and the one 2D batch of a frame.
#include "font.h"
#include <cmath>
#include <cstring>
#include "device.h"
#include "qz_dynArray.h"
#include "qz_utils.h"
#include "tga.h"

TextState textState = {0, 0, 1};
Glyph glyphs[256];
int32_t fontCellWidth = 8, fontCellHeight = 8;
uint64_t textDrawCount;

namespace {

#pragma pack(push, 1)
struct TextVertex {
    int16_t x, y;
    uint32_t colour;
    int16_t u, v;
};
#pragma pack(pop)
static_assert(sizeof(TextVertex) == 12, "text vertices are 12 bytes");

enum { QUAD_BYTES = 6 * sizeof(TextVertex), FONT_VB_BYTES = FONT_QUADS * QUAD_BYTES };

struct FontLayer {
    TextureHandle texture;
    ShaderHandle shader;
    VertexLayoutHandle layout;
    VertexBufferHandle buffer;
    float texelU, texelV;  // 1 / sheet width, 1 / sheet height
    TextVertex* vbPtr;     // next vertex while the batch is open
    int quads;
};
FontLayer font;
DynArray<TextState> savedStates;

enum { BS = 256 };
char loadingText[BS];
float loadingProgress = -1;

int advance(uint8_t c) {
    const Glyph& g = glyphs[c];
    return textState.fontScale * (g.right - g.left + 1) + textState.charSpacing;
}

void bindTextPipeline() {
    bindVertexLayout(font.layout);
    bindVertexStream(0, font.buffer, 0, sizeof(TextVertex));
    bindShader(font.shader);
    bindTexture(0, font.texture);
    setSamplerFilter(0, false);
    setInstancing(0);
    float W = (float)deviceWidth(), H = (float)deviceHeight();
    float c[8] = {2.0f / W, 2.0f / H, -1.0f - 0.5f / W, 0.5f / H - 1.0f, font.texelU, font.texelV, 0, 0};
    setVertexConstants(16, c, 2);
}

void drawPending() {
    if (font.quads > 0) {
        bindTextPipeline();
        drawPrimitives(PrimTriangleList, 0, font.quads * 2);
        textDrawCount++;
    }
    font.quads = 0;
}

void queueQuad(int x0, int y0, int x1, int y1, int u0, int v0, int u1, int v1, uint32_t colour) {
    ASSERT(font.vbPtr);
    if (font.quads == FONT_QUADS) {
        unlockBuffer(font.buffer);
        drawPending();
        TextVertex* vbPtr = (TextVertex*)lockBuffer(font.buffer);
        ASSERT(vbPtr);
        font.vbPtr = vbPtr;
    }
    TextVertex a = {(int16_t)x0, (int16_t)y0, colour, (int16_t)u0, (int16_t)v0};
    TextVertex b = {(int16_t)x1, (int16_t)y0, colour, (int16_t)u1, (int16_t)v0};
    TextVertex c = {(int16_t)x1, (int16_t)y1, colour, (int16_t)u1, (int16_t)v1};
    TextVertex d = {(int16_t)x0, (int16_t)y1, colour, (int16_t)u0, (int16_t)v1};
    TextVertex* p = font.vbPtr;
    p[0] = a, p[1] = b, p[2] = c, p[3] = a, p[4] = c, p[5] = d;
    font.vbPtr = p + 6;
    font.quads++;
}

void drawLoadingFrame() {
    int W = deviceWidth(), H = deviceHeight();
    setBackBufferTarget();
    clearColour(0xFF000A28u);
    beginText();
    drawText(loadingText, -1, W / 2, H / 4, 0, 0, 0xFFFFFFFFu);
    if (loadingProgress >= 0) {
        int b = textState.fontScale * fontCellHeight * 3;
        int e = (W - W / 4) / 2, f = H / 4 - b;
        fillRect(e, f, e + W / 4, f + b / 2, 0xFF000000u);
        fillRect(e, f, e + (int)nearbyintf((float)(W / 4) * loadingProgress), f + b / 2, 0xFF32960Au);
    }
    endText();
}

}  // namespace

void cutFontSheet(const uint32_t* pixels, int width, int height) {
    if (width <= 0 || height <= 0 || width % 16 || height % 16)
        fatalError("expected 16x16 font grid in font.tga, got %dx%d image", width, height);
    int cw = width / 16, ch = height / 16;
    fontCellWidth = cw;
    fontCellHeight = ch;
    auto inkInColumn = [&](int x, int row0) {
        for (int y = row0; y < row0 + ch; y++)
            if (pixels[(size_t)y * width + x] >> 24) return true;
        return false;
    };
    for (int n = 0; n < 256; n++) {
        int cellX = (n % 16) * cw, row0 = (15 - n / 16) * ch;
        int left = -1, last = -1;
        for (int x = cellX; x < cellX + cw && left < 0; x++)
            if (inkInColumn(x, row0)) left = x;
        if (left < 0) {
            left = cellX;
            last = left + cw / 2 - 1;
        } else {
            for (int x = cellX + cw - 1; x >= left && last < 0; x--)
                if (inkInColumn(x, row0)) last = x;
        }
        glyphs[n] = {left, row0, last + 1, row0 + ch};
    }
}

int fontScaleForHeight(int height) {
    int s = height / (fontCellHeight * 30);
    return s < 1 ? 1 : s;
}

void updateFontScale() {
    textState.fontScale = fontScaleForHeight(deviceHeight());
    logMessage("font scale: %d", textState.fontScale);
}

void initFont() {
    int w = 0, h = 0;
    DynArray<uint32_t> pixels;
    if (!readTgaFile("font.tga", w, h, pixels)) fatalError("can't load font.tga");
    cutFontSheet(pixels.data, w, h);
    font.texelU = 1.0f / (float)w;
    font.texelV = 1.0f / (float)h;
    textState = {0, 0, 1};
    updateFontScale();

    font.texture = createTexture(w, h, 1, 0, FormatArgb8, PoolManaged);
    if (!font.texture) fatalError("can't create font texture");
    int pitch = 0;
    uint8_t* ptr = (uint8_t*)lockTexture(font.texture, true, &pitch);
    ASSERT(ptr);
    for (int y = 0; y < h; y++) memcpy(ptr + (size_t)y * pitch, pixels.data + (size_t)y * w, (size_t)w * 4);
    unlockTexture(font.texture);

    static const VertexLayout layout[] = {{0, 0, VtShort2, VuPosition, 0},
                                          {4, 0, VtColour, VuColour, 0},
                                          {8, 0, VtShort2, VuTexCoord, 0},
                                          VERTEX_LAYOUT_END};
    font.layout = createVertexLayout(layout);
    font.shader = loadShader("font.sh", nullptr);
    font.buffer = createVertexBuffer(FONT_VB_BYTES, false);
    if (!font.buffer) fatalError("can't create font vertex buffer");
    setImmediateFrameDrawer(drawLoadingFrame);
}

void shutdownFont() {
    if (font.vbPtr) unlockBuffer(font.buffer);
    releaseBuffer(font.buffer);
    if (font.shader) releaseShader(font.shader);
    releaseTexture(font.texture);
    font = FontLayer();
    savedStates.release();
    setImmediateFrameDrawer(nullptr);
}

void pushTextState() { savedStates.push(textState); }

void popTextState() {
    textState = savedStates.back();
    savedStates.remove(savedStates.num - 1, 1);
}

void beginText() {
    ASSERT(!font.vbPtr);
    bindTextPipeline();
    setCulling(false);
    setDepthTest(false);
    setDepthWrite(false);
    setAlphaBlend();
    setAlphaTest(1);
    TextVertex* vbPtr = (TextVertex*)lockBuffer(font.buffer);
    ASSERT(vbPtr);
    font.vbPtr = vbPtr;
    font.quads = 0;
}

void endText() {
    TextVertex* vbPtr = font.vbPtr;
    ASSERT(vbPtr);
    unlockBuffer(font.buffer);
    font.vbPtr = nullptr;
    drawPending();
    setCulling(true);
    setDepthTest(true);
    setDepthWrite(true);
    setBlendOff();
    setAlphaTest(0);
    setSamplerFilter(0, true);
}

int lineHeight() { return textState.fontScale * fontCellHeight; }

void measureText(const char* text, int length, int* width, int* height) {
    if (!text) length = 0;
    else if (length < 0) length = (int)strlen(text);
    int lh = lineHeight(), w = 0, h = 0, line = 0, inLine = 0;
    for (int i = 0; i < length; i++) {
        uint8_t c = (uint8_t)text[i];
        if (c == '\n') {
            h += lh + textState.lineSpacing;
            if (line > w) w = line;
            line = inLine = 0;
        } else {
            line += advance(c);
            inLine++;
        }
    }
    if (line > w) w = line;
    if (inLine) h += lh;
    *width = w;
    *height = h;
}

void drawText(const char* text, int length, int x, int y, int alignX, int alignY, uint32_t colour) {
    if (!text) length = 0;
    else if (length < 0) length = (int)strlen(text);
    int W, H;
    measureText(text, length, &W, &H);
    int s = textState.fontScale;
    int px0 = x - ((alignX + 1) * W) / 2, px = px0;
    int py = y + H - ((alignY + 1) * H) / 2 - lineHeight() + textState.lineSpacing;
    for (int i = 0; i < length; i++) {
        uint8_t c = (uint8_t)text[i];
        if (c == '\n') {
            px = px0;
            py -= lineHeight() + textState.lineSpacing;
            continue;
        }
        if (c != 0 && c != ' ') {
            const Glyph& g = glyphs[c];
            int gw = s * (g.right - g.left), gh = s * (g.top - g.bottom);
            queueQuad(px + 1, py - 1, px + 1 + gw, py - 1 + gh, g.left, g.bottom, g.right, g.top, 0x80000000u);
            queueQuad(px, py, px + gw, py + gh, g.left, g.bottom, g.right, g.top, colour);
        }
        px += advance(c);
    }
}

void fillRect(int x0, int y0, int x1, int y1, uint32_t colour) { queueQuad(x0, y0, x1, y1, -1, -1, -1, -1, colour); }

void frameRect(int x0, int y0, int x1, int y1, uint32_t colour) {
    fillRect(x0, y0, x0 + 1, y1, colour);
    fillRect(x1, y0, x1 + 1, y1, colour);
    fillRect(x0, y0, x1 + 1, y0 + 1, colour);
    fillRect(x0 + 1, y1, x1, y1 + 1, colour);
}

void showLoadingText(const char* text, float progress) {
    size_t l = text ? strlen(text) : 0;
    ASSERT(l<BS);
    memcpy(loadingText, text ? text : "", l + 1);
    loadingProgress = progress;
    drawImmediateFrame();
}
