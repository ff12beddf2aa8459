#include <gtest/gtest.h>
#include <cstdlib>
#include <string>
#include <vector>
#include "swrender.h"
#include "test_font.h"

namespace {

std::string tempPath(const char* name) {
    const char* dir = getenv("TMPDIR");
    return std::string(dir && dir[0] ? dir : "/tmp") + "/zentrel_swrender_" + std::to_string(getpid()) + "_" + name;
}

// A renderer on a zeroed w x h buffer, with a 6 x 8 font of patterned glyphs.
struct Canvas {
    SoftwareGuiRenderer ren;
    std::vector<uint32_t> px;
    int w, h;
    Canvas(int width, int height, bool withFont = true) : px((size_t)width * height, 0), w(width), h(height) {
        ren.setTarget(px.data(), w * 4, w, h);
        if (withFont) {
            TestFont f(6, 8);
            f.fillPrintable();
            std::string path = tempPath("font.tga");
            EXPECT_TRUE(f.write(path));
            ren.setFont(ren.loadFont(path.c_str()));
            remove(path.c_str());
        }
    }
    uint32_t at(int x, int y) const { return px[(size_t)y * w + x]; }
    // Columns of row y that are not 0.
    std::string row(int y, int x0, int x1) const {
        std::string s;
        for (int x = x0; x < x1; x++) s += at(x, y) ? '#' : '.';
        return s;
    }
};

int channel(uint32_t v, int shift) { return (int)((v >> shift) & 0xFF); }

}  // namespace

TEST(SoftwareBlend, ExactFigures) {
    EXPECT_EQ(blendPixel(0x80FFFFFF, 0x00000000), 0x00808080u);
    EXPECT_EQ(blendPixel(0xFF123456, 0x00ABCDEF), 0x00133457u);
    EXPECT_EQ(blendPixel(0x80FF0000, 0x000000FF), 0x00800080u);
    EXPECT_EQ(blendPixel(0xFF000000, 0x00FFFFFF), 0x00010001u);
    EXPECT_EQ(blendPixel(0x00123456, 0xFFABCDEF), 0x00ABCDEFu);
    EXPECT_EQ(blendPixel(0xFFFFFFFF, 0x00000000), 0x00FFFFFFu);
}

// The integer division by 255 and the borrow between the red and blue lanes
// may each cost one step; a wrong mask or shift costs far more.
TEST(SoftwareBlend, EveryChannelIsWithinTwoStepsOfTheTrueMix) {
    const int values[] = {0, 1, 17, 100, 128, 200, 254, 255};
    for (int a = 0; a < 256; a++)
        for (int cv : values)
            for (int dv : values) {
                // Red and blue carry different values so the lanes can disturb each other.
                uint32_t c = ((uint32_t)a << 24) | ((uint32_t)cv << 16) | ((uint32_t)(255 - cv) << 8) | (uint32_t)dv;
                uint32_t d = ((uint32_t)dv << 16) | ((uint32_t)cv << 8) | (uint32_t)(255 - dv);
                uint32_t r = blendPixel(c, d);
                ASSERT_EQ(r >> 24, 0u);
                for (int shift : {0, 8, 16}) {
                    double exact = (channel(c, shift) * a + channel(d, shift) * (255 - a)) / 255.0;
                    ASSERT_NEAR(channel(r, shift), exact, 2.0) << std::hex << c << " over " << d;
                }
            }
}

TEST(SoftwareRects, RoundingClippingAndFrames) {
    Canvas cv(32, 4, false);
    cv.ren.fillRect(10.5f, 0, 20.5f, 1, 0xFFFFFFFF);
    EXPECT_EQ(cv.row(0, 0, 32), "..........##########............");
    EXPECT_EQ(cv.row(1, 0, 32), std::string(32, '.'));
    cv.ren.fillRect(11.5f, 1, 12.5f, 2, 0xFFFFFFFF);  // 11.5 rounds up to 12, 12.5 down to 12
    EXPECT_EQ(cv.row(1, 0, 32), std::string(32, '.'));

    cv.ren.clear(0);
    cv.ren.fillRect(-5, -5, 2, 2, 0xFFFFFFFF);
    cv.ren.fillRect(30, 3, 1e20f, 1e20f, 0xFFFFFFFF);
    cv.ren.fillRect(-1e20f, -1e20f, -1e19f, 1e20f, 0xFFFFFFFF);
    EXPECT_EQ(cv.row(0, 0, 32), "##..............................");
    EXPECT_EQ(cv.row(2, 0, 32), std::string(32, '.'));
    EXPECT_EQ(cv.row(3, 0, 32), "..............................##");

    cv.ren.clear(0);
    cv.ren.frameRect(5, 1, 5, 1, 0x80FFFFFF);  // one pixel, blended twice
    EXPECT_EQ(cv.at(5, 1), blendPixel(0x80FFFFFF, 0x00808080));
    cv.ren.frameRect(10, 0, 13, 3, 0xFFFFFFFF);
    EXPECT_EQ(cv.row(0, 10, 14), "####");
    EXPECT_EQ(cv.row(1, 10, 14), "#..#");
    EXPECT_EQ(cv.row(3, 10, 14), "####");
}

TEST(SoftwareRects, ClearWritesTheWordAndKeepsToTheTarget) {
    std::vector<uint32_t> px(10 * 3, 7);
    SoftwareGuiRenderer ren;
    ren.setTarget(px.data(), 10 * 4, 4, 2);  // a 4 x 2 window into a 10-wide buffer
    ren.clear(0xFF102030);
    EXPECT_EQ(px[0], 0xFF102030u);
    EXPECT_EQ(px[13], 0xFF102030u);
    EXPECT_EQ(px[4], 7u);
    EXPECT_EQ(px[20], 7u);
    EXPECT_EQ(ren.width(), 4);
    EXPECT_EQ(ren.unit(), 8);  // no font yet
}

TEST(SoftwareFontLoad, GlyphBoxesFromTheGrid) {
    TestFont f(8, 10);
    f.set('A', 2, 0, 0xFF000000);
    f.set('A', 4, 9, 0x01000000);  // any non-zero alpha counts
    f.set('B', 0, 5, 0x00FFFFFF);  // colour without alpha does not
    f.set(0, 7, 0, 0xFFFFFFFF);
    std::string path = tempPath("grid.tga");
    ASSERT_TRUE(f.write(path));
    SoftwareGuiRenderer ren;
    SoftwareFont* font = ren.loadFont(path.c_str());
    remove(path.c_str());
    ren.setFont(font);
    EXPECT_EQ(ren.unit(), 10);
    const int32_t* a = font->glyphs['A'];  // column 1, grid row 4 -> image rows 110..119
    EXPECT_EQ(a[GlyphX0], 8 + 2);
    EXPECT_EQ(a[GlyphX1], 8 + 5);
    EXPECT_EQ(a[GlyphY0], 110);
    EXPECT_EQ(a[GlyphY1], 120);
    const int32_t* b = font->glyphs['B'];
    EXPECT_EQ(b[GlyphX0], 16);
    EXPECT_EQ(b[GlyphX1], 16 + 8 / 2 + 1);
    EXPECT_EQ(font->glyphs[0][GlyphX0], 7);
    EXPECT_EQ(font->glyphs[0][GlyphY0], 150);
    // A blank character advances by half a cell plus two.
    float w, h;
    ren.measureText(" ", -1, &w, &h, 1);
    EXPECT_FLOAT_EQ(w, 8 / 2 + 2);
}

TEST(SoftwareFontLoadDeathTest, RefusesMissingFilesAndOtherGrids) {
    SoftwareGuiRenderer ren;
    EXPECT_EXIT(ren.loadFont("/nonexistent/font.tga"), ::testing::ExitedWithCode(100),
                "can't load font from /nonexistent/font.tga");
    std::string path = tempPath("odd.tga");
    std::vector<uint32_t> px(100 * 48, 0xFFFFFFFF);
    ASSERT_TRUE(writeTgaFile(path.c_str(), px.data(), 100, 48, 400));
    // Windows re-runs the test for the death test: its file has another name.
    std::string msg = "expected 16x16 font grid in .*odd.tga, got 100x48 image";
    EXPECT_EXIT(ren.loadFont(path.c_str()), ::testing::ExitedWithCode(100), msg);
    remove(path.c_str());
}

TEST(SoftwareText, Measuring) {
    Canvas cv(8, 8);
    const int32_t* g = cv.ren.curFont->glyphs['A'];
    int adv = g[GlyphX1] - g[GlyphX0] + 1;
    float w, h;
    cv.ren.measureText("A\n", -1, &w, &h, 2);
    EXPECT_FLOAT_EQ(w, 2 * adv);
    EXPECT_FLOAT_EQ(h, 16);
    cv.ren.measureText("\n", -1, &w, &h, 1);
    EXPECT_FLOAT_EQ(w, 0);
    EXPECT_FLOAT_EQ(h, 8);
    cv.ren.measureText("", -1, &w, &h, 1);
    EXPECT_FLOAT_EQ(w + h, 0);
    cv.ren.measureText(nullptr, -1, &w, &h, 1);
    EXPECT_FLOAT_EQ(w + h, 0);
    cv.ren.measureText("AA\nA\nA", 4, &w, &h, 1);  // the length cuts after "AA\nA"
    EXPECT_FLOAT_EQ(w, 2 * adv);
    EXPECT_FLOAT_EQ(h, 16);
}

TEST(SoftwareText, AlignmentShadowAndMagnification) {
    // Glyph 'x' of exactly 4 columns: advance 5 at scale 1.
    TestFont f(6, 8);
    for (int y = 0; y < 8; y++)
        for (int x = 0; x < 4; x++) f.set('x', x, y, 0xFFFFFFFF);
    std::string path = tempPath("x.tga");
    ASSERT_TRUE(f.write(path));
    Canvas cv(200, 40, false);
    cv.ren.setFont(cv.ren.loadFont(path.c_str()));
    remove(path.c_str());

    // Red text on white, so that the black shadow shows.
    const uint32_t white = 0x00FFFFFF, red = blendPixel(0xFFFF0000, white), shade = blendPixel(0x7F000000, white);
    cv.ren.clear(white);
    cv.ren.drawText("x", -1, 100, 20, 0, -1, 0xFFFF0000, 1);
    // The centred 5-pixel text starts at 98: glyph 98..101, its shadow one pixel right and down.
    std::vector<uint32_t> row20 = {white, white, red, red, red, red, white, white};
    std::vector<uint32_t> row21 = {white, white, red, red, red, red, shade, white};
    for (int i = 0; i < 8; i++) {
        EXPECT_EQ(cv.at(96 + i, 20), row20[i]) << i;
        EXPECT_EQ(cv.at(96 + i, 21), row21[i]) << i;
    }
    EXPECT_EQ(cv.at(98, 19), white);
    EXPECT_EQ(cv.at(99, 28), shade);  // the shadow's bottom row
    EXPECT_EQ(cv.at(99, 29), white);

    cv.ren.clear(0);
    cv.ren.drawText("x", -1, 50, 30, 1, 1, 0xFFFF0000, 2);
    // Bottom-right corner of the 10 x 16 block at (50, 30): glyph 8 x 16 from (40, 14).
    EXPECT_EQ(cv.at(40, 14), 0x00FF0000u);
    EXPECT_EQ(cv.at(47, 29), 0x00FF0000u);
    EXPECT_EQ(cv.at(39, 14), 0u);
    EXPECT_EQ(cv.at(40, 13), 0u);
    EXPECT_EQ(cv.at(48, 15), blendPixel(0x7F000000, 0));
}

TEST(SoftwareText, ClippedTextMatchesTheUnclippedDrawing) {
    // The same text drawn at (20, 20) into the whole buffer, and at (-d, -d)
    // into a window of another buffer that starts at (20 + d, 20 + d): inside
    // the window both must be equal, cuts through magnified pixels included.
    const char* text = "Wg!\nA_q";
    for (int scale = 1; scale <= 3; scale++)
        for (int d = 1; d <= 7; d++) {
            Canvas full(120, 60), clipped(120, 60);
            full.ren.drawText(text, -1, 20, 20, -1, -1, 0xC0FFA040, scale);
            int wx = 20 + d;
            clipped.ren.setTarget(clipped.px.data() + wx * 120 + wx, 120 * 4, 120 - wx, 60 - wx);
            clipped.ren.drawText(text, -1, (float)-d, (float)-d, -1, -1, 0xC0FFA040, scale);
            for (int y = 0; y < 60; y++)
                for (int x = 0; x < 120; x++) {
                    uint32_t expect = (x >= wx && y >= wx) ? full.at(x, y) : 0;
                    ASSERT_EQ(clipped.at(x, y), expect) << "scale " << scale << " d " << d << " at " << x << "," << y;
                }
        }
}

TEST(SoftwareTextDeathTest, DrawingNeedsATargetAndAFont) {
    SoftwareGuiRenderer ren;
    EXPECT_EXIT(ren.fillRect(0, 0, 1, 1, 0xFFFFFFFF), ::testing::ExitedWithCode(100), "ASSERT\\(buffer\\)");
    uint32_t px[4] = {};
    ren.setTarget(px, 8, 2, 2);
    EXPECT_EXIT(ren.drawText("a", -1, 0, 0, -1, -1, 0xFFFFFFFF, 1), ::testing::ExitedWithCode(100),
                "ASSERT\\(curFont\\)");
}
