// Font sheet cutting, text metrics and the drawn text layer.
#include "font.h"
#include "gl_test_support.h"
#include "test_font.h"
#include <algorithm>
#include "tga.h"

namespace {

// Rows of a TestFont (top-down) in stored, bottom-up order.
std::vector<uint32_t> storedRows(const TestFont& f) {
    std::vector<uint32_t> rows(f.pixels.size());
    int w = f.width(), h = f.height();
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++) rows[(size_t)(h - 1 - y) * w + x] = f.pixels[(size_t)y * w + x];
    return rows;
}

}  // namespace

TEST(FontMetricsTest, GlyphExtentsComeFromTheInk) {
    TestFont f(8, 8);
    f.set('A', 1, 0, 0xFF000000u);
    f.set('A', 5, 7, 0x01000000u);  // any non-zero alpha counts
    f.set('A', 6, 3, 0x00FFFFFFu);  // colour without alpha does not
    std::vector<uint32_t> rows = storedRows(f);
    cutFontSheet(rows.data(), 128, 128);
    EXPECT_EQ(fontCellWidth, 8);
    EXPECT_EQ(fontCellHeight, 8);
    const Glyph& a = glyphs['A'];  // column 1, row 4 of the grid from the top
    EXPECT_EQ(a.left, 8 + 1);
    EXPECT_EQ(a.right, 8 + 6);
    EXPECT_EQ(a.bottom, (15 - 4) * 8);
    EXPECT_EQ(a.top, a.bottom + 8);
    const Glyph& space = glyphs[' '];  // empty: a blank half cell
    EXPECT_EQ(space.left, 0);
    EXPECT_EQ(space.right - space.left, 4);
    EXPECT_EQ(glyphs[255].bottom, 0);

    textState = {0, 0, 3};
    int w, h;
    measureText(" ", -1, &w, &h);
    EXPECT_EQ(w, 3 * (4 + 1));
    EXPECT_EQ(h, 24);
    measureText("A A\nA", -1, &w, &h);
    EXPECT_EQ(w, 3 * (6 + 5 + 6));
    EXPECT_EQ(h, 48);
    textState.lineSpacing = 2;
    textState.charSpacing = 1;
    measureText("A\n", -1, &w, &h);  // no extra line for the empty last one
    EXPECT_EQ(w, 3 * 6 + 1);
    EXPECT_EQ(h, 24 + 2);
    measureText(nullptr, -1, &w, &h);
    EXPECT_EQ(w + h, 0);
    measureText("AAAA", 2, &w, &h);
    EXPECT_EQ(w, 2 * (3 * 6 + 1));

    pushTextState();
    textState = {9, 9, 9};
    popTextState();
    EXPECT_EQ(textState.lineSpacing, 2);
    EXPECT_EQ(textState.fontScale, 3);
    textState = {0, 0, 1};
}

TEST(FontMetricsTest, ShippedSheetAndScales) {
    initAppPath();
    int w, h;
    DynArray<uint32_t> pixels;
    ASSERT_TRUE(readTgaFile("font.tga", w, h, pixels));
    EXPECT_EQ(w, 128);
    EXPECT_EQ(h, 128);
    cutFontSheet(pixels.data, w, h);
    for (int c = 33; c < 127; c++) EXPECT_GT(glyphs[c].right - glyphs[c].left, 0) << "no ink for " << (char)c;
    EXPECT_LT(glyphs['i'].right - glyphs['i'].left, glyphs['M'].right - glyphs['M'].left);
    EXPECT_EQ(fontScaleForHeight(720), 3);
    EXPECT_EQ(fontScaleForHeight(480), 2);
    EXPECT_EQ(fontScaleForHeight(100), 1);
}

TEST(FontMetricsDeathTest, SheetOffTheGridIsFatal) {
    ::testing::GTEST_FLAG(death_test_style) = "threadsafe";
    std::vector<uint32_t> p(100 * 128, 0);
    EXPECT_EXIT(cutFontSheet(p.data(), 100, 128), ::testing::ExitedWithCode(100),
                "expected 16x16 font grid in font.tga, got 100x128 image");
}

struct TextLayerTest : DeviceTest {
    void SetUp() override {
        DeviceTest::SetUp();
        testing::internal::CaptureStdout();
        initFont();
        testing::internal::GetCapturedStdout();
        textState.fontScale = 2;
        setBackBufferTarget();
        clearColour(0xFF0000FFu);
    }
    void TearDown() override {
        shutdownFont();
        DeviceTest::TearDown();
    }
};

TEST_F(TextLayerTest, GlyphsDrawWithTheirShadowAndRectsCoverTheirPixels) {
    const Glyph& g = glyphs['I'];
    int gw = 2 * (g.right - g.left), gh = 2 * (g.top - g.bottom);
    beginText();
    drawText("I", -1, 100, 100, -1, -1, 0xFFFFFFFFu);  // bottom-left at (100, 100)
    fillRect(10, 20, 13, 22, 0xFF00FF00u);
    frameRect(200, 10, 210, 20, 0xFFFF0000u);
    endText();

    // Ink of the glyph is white; the pixel right of and below the glyph's
    // lowest-right ink pixel shows the half-black shadow over the blue.
    int white = 0, shadow = 0;
    for (int y = 99; y < 100 + gh; y++)
        for (int x = 100; x <= 100 + gw; x++) {
            uint32_t p = pixelAt(x, y) & 0xFFFFFF;
            white += p == 0xFFFFFF;
            shadow += p == 0x000080 || p == 0x00007F;
        }
    EXPECT_GT(white, 4);
    EXPECT_GT(shadow, 0);
    EXPECT_EQ(pixelAt(10, 20) & 0xFFFFFF, 0x00FF00u);
    EXPECT_EQ(pixelAt(12, 21) & 0xFFFFFF, 0x00FF00u);
    EXPECT_EQ(pixelAt(13, 21) & 0xFFFFFF, 0x0000FFu);  // x1 is exclusive
    EXPECT_EQ(pixelAt(12, 22) & 0xFFFFFF, 0x0000FFu);
    EXPECT_EQ(pixelAt(210, 15) & 0xFFFFFF, 0xFF0000u);  // right edge on column x1
    EXPECT_EQ(pixelAt(205, 20) & 0xFFFFFF, 0xFF0000u);  // top edge on row y1
    EXPECT_EQ(pixelAt(205, 15) & 0xFFFFFF, 0x0000FFu);
}

TEST_F(TextLayerTest, AlignmentAndTheQuadLimit) {
    int w, h;
    measureText("HI", -1, &w, &h);
    beginText();
    // Right-aligned, top-aligned at (300, 200): the block ends there.
    drawText("HI", -1, 300, 200, 1, 1, 0xFFFFFFFFu);
    uint64_t draws = textDrawCount;
    for (int i = 0; i < FONT_QUADS; i++) fillRect(i % 50, 0, i % 50 + 1, 1, 0xFF00FF00u);
    EXPECT_EQ(textDrawCount, draws + 1);  // the 1025th quad drew the first 1024
    endText();
    EXPECT_EQ(textDrawCount, draws + 2);
    int inkRight = 0, inkTop = 0;
    for (int y = 150; y < 230; y++)
        for (int x = 250; x < 330; x++)
            if ((pixelAt(x, y) & 0xFFFFFF) == 0xFFFFFF) {
                inkRight = std::max(inkRight, x);
                inkTop = std::max(inkTop, y);
            }
    EXPECT_LE(inkRight, 299);
    EXPECT_GE(inkRight, 299 - 2 * 2);  // within the one-texel gap after the last glyph
    EXPECT_LE(inkTop, 199);
    EXPECT_GE(inkTop, 199 - 2 * 2);  // capitals reach near the cell's top
}
