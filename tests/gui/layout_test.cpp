#include <gtest/gtest.h>
#include "fake_gui_renderer.h"
#include "layout.h"

namespace {

GuiBox* sized(float wUnits, float hUnits, GuiBox* parent = nullptr) {
    GuiBox* b = new GuiBox();
    b->width = guiUnits(wUnits);
    b->height = guiUnits(hUnits);
    if (parent) parent->addChild(b, parent->children.num);
    return b;
}

void allAuto(GuiLen m[4]) {
    for (int i = 0; i < 4; i++) m[i] = guiAuto();
}

void expectRect(const GuiRect& r, float left, float top, float right, float bottom) {
    EXPECT_FLOAT_EQ(r.left, left);
    EXPECT_FLOAT_EQ(r.top, top);
    EXPECT_FLOAT_EQ(r.right, right);
    EXPECT_FLOAT_EQ(r.bottom, bottom);
}

// 40 x 30 units with auto margins: the launcher's root.
GuiBox* centredRoot() {
    GuiBox* root = sized(40, 30);
    allAuto(root->margin);
    return root;
}

}  // namespace

TEST(GuiLayout, ResolvesEveryMode) {
    EXPECT_FLOAT_EQ(resolveLen(guiAuto(), 16, 200, 7), 7);
    EXPECT_FLOAT_EQ(resolveLen(guiPixels(3.5f), 16, 200, 7), 3.5f);
    EXPECT_FLOAT_EQ(resolveLen(guiUnits(1.5f), 16, 200, 7), 24);
    EXPECT_FLOAT_EQ(resolveLen(guiPercent(25), 16, 200, 7), 50);
}

TEST(GuiLayout, RootIsCentredAndScaleFollowsTheWindow) {
    FakeGuiRenderer ren;
    GuiScreen screen(&ren, centredRoot(), 40, 30);
    EXPECT_EQ(screen.scale, 2);
    expectRect(screen.root->outerRect, 0, 0, 640, 480);
    expectRect(screen.root->paddingRect, 0, 0, 640, 480);

    ren.w = 800;
    ren.h = 600;
    screen.relayout();
    EXPECT_EQ(screen.scale, 2);
    expectRect(screen.root->paddingRect, 80, 60, 720, 540);

    ren.w = 1280;
    ren.h = 960;
    screen.relayout();
    EXPECT_EQ(screen.scale, 4);
    expectRect(screen.root->paddingRect, 0, 0, 1280, 960);

    // Smaller than one unit per column: scale stays 1 and the root overflows.
    ren.w = ren.h = 100;
    screen.relayout();
    EXPECT_EQ(screen.scale, 1);
    expectRect(screen.root->paddingRect, 0, 0, 320, 240);
}

TEST(GuiLayout, AutoMarginsCentreAndPushToCorners) {
    FakeGuiRenderer ren;
    GuiBox* root = centredRoot();
    GuiBox* top = sized(10, 2, root);  // 1 unit below the top, centred across
    allAuto(top->margin);
    top->margin[GuiTop] = guiUnits(1);
    GuiBox* corner = sized(11, 5, root);  // bottom-right, 1 unit and 2 units in
    allAuto(corner->margin);
    corner->margin[GuiRight] = guiUnits(1);
    corner->margin[GuiBottom] = guiUnits(2);
    GuiBox* padded = sized(10, 2, root);  // auto paddings grow the background
    allAuto(padded->padding);
    GuiScreen screen(&ren, root, 40, 30);

    expectRect(top->paddingRect, 240, 16, 400, 48);
    expectRect(corner->paddingRect, 640 - 16 - 176, 480 - 32 - 80, 640 - 16, 480 - 32);
    expectRect(padded->paddingRect, 0, 0, 640, 480);
    expectRect(padded->contentRect, 240, 224, 400, 256);
    // Auto lengths are resolved in copies only.
    EXPECT_EQ(top->margin[GuiLeft].mode, GuiLenAuto);
    EXPECT_EQ(padded->padding[GuiTop].mode, GuiLenAuto);
}

TEST(GuiLayout, ContentWiderThanTheParentOverflowsToTheRight) {
    FakeGuiRenderer ren;
    GuiBox* root = centredRoot();
    GuiBox* holder = sized(10, 10, root);
    GuiBox* wide = new GuiBox();  // auto size from its text
    allAuto(wide->margin);
    wide->text = "a text far too long for its box";  // 31 chars x 12 px
    holder->addChild(wide, 0);
    GuiScreen screen(&ren, root, 40, 30);
    // Across it overflows with auto margins 0; down it still centres.
    expectRect(wide->paddingRect, 0, 72, 31 * 12, 88);
}

TEST(GuiLayout, PercentagesUseTheParentWidthOnBothAxes) {
    FakeGuiRenderer ren;
    GuiBox* root = centredRoot();  // 640 wide, 480 high
    GuiBox* b = sized(2, 2, root);
    b->offsetY = guiPercent(50);
    b->offsetX = guiPixels(3);
    b->border[GuiTop] = guiPercent(1);
    GuiScreen screen(&ren, root, 40, 30);
    EXPECT_FLOAT_EQ(b->borderPx[GuiTop], 6.4f);
    EXPECT_FLOAT_EQ(b->outerRect.top, 320);
    EXPECT_FLOAT_EQ(b->outerRect.left, 3);
    EXPECT_FLOAT_EQ(b->paddingRect.top, 326.4f);
}

TEST(GuiLayout, MeasuringAutoBoxes) {
    FakeGuiRenderer ren;
    GuiBox* root = centredRoot();
    GuiBox* holder = new GuiBox();
    root->addChild(holder, 0);
    GuiBox* half = sized(0, 1, holder);
    half->width = guiPercent(50);
    half->margin[GuiLeft] = guiPixels(10);
    half->margin[GuiRight] = guiPixels(10);
    half->margin[GuiTop] = guiPercent(5);
    GuiBox* empty = new GuiBox();
    root->addChild(empty, 0);
    GuiScreen screen(&ren, root, 40, 30);

    float w, h;
    childExtent(half, &screen, &w, &h);
    EXPECT_FLOAT_EQ(w, 40);          // (10 + 10) / (1 - 0.5)
    EXPECT_FLOAT_EQ(h, 16 + 2);      // one unit plus 5 % of that width
    measureBox(holder, &screen, &w, &h);
    EXPECT_FLOAT_EQ(w, 40);
    measureBox(empty, &screen, &w, &h);
    EXPECT_FLOAT_EQ(w + h, 0);
    expectRect(holder->paddingRect, 0, 0, 40, 18);
    expectRect(half->paddingRect, 10, 2, 30, 18);

    // 100 % or more gives up on the percentage and keeps the fixed part.
    half->width = guiPercent(100);
    childExtent(half, &screen, &w, &h);
    EXPECT_FLOAT_EQ(w, 20);
}

TEST(GuiLayout, TextSizeIsMeasuredAtTheScreenScale) {
    FakeGuiRenderer ren;
    GuiBox* root = centredRoot();
    GuiBox* t = new GuiBox();
    t->text = "ab\ncd";
    t->textScale = 3;
    t->height = guiUnits(1);  // only the auto width takes the text's
    root->addChild(t, 0);
    GuiScreen screen(&ren, root, 40, 30);
    float w, h;
    screen.measureContent(t, &w, &h);
    EXPECT_FLOAT_EQ(w, 2 * 6 * 6);
    EXPECT_FLOAT_EQ(h, 16);
    t->width = guiPercent(50);  // a percentage has no content size
    screen.measureContent(t, &w, &h);
    EXPECT_FLOAT_EQ(w, 0);
}

TEST(GuiLayout, WithoutAScreenTheRootGets640By480AndUnit8) {
    GuiBox* root = sized(10, 10);
    allAuto(root->margin);
    GuiBox* child = sized(1, 1, root);
    layoutBox(root, nullptr);
    expectRect(root->paddingRect, 280, 200, 360, 280);
    expectRect(child->paddingRect, 280, 200, 288, 208);
    float w, h;
    measureBox(root, nullptr, &w, &h);  // no screen: no content of its own
    EXPECT_FLOAT_EQ(w, 8);
    delete root;
}

TEST(GuiLayoutDeathTest, UnknownModeIsAProgramError) {
    GuiBox* b = new GuiBox();
    b->margin[GuiLeft] = guiLen(1, 9);
    EXPECT_EXIT(layoutBox(b, nullptr), ::testing::ExitedWithCode(100), "unknown GuiLen mode");
    float w, h;
    EXPECT_EXIT(childExtent(b, nullptr, &w, &h), ::testing::ExitedWithCode(100), "unknown GuiLen mode");
    delete b;
}
