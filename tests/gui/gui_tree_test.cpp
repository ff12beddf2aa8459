#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "fake_gui_renderer.h"
#include "gui_behaviour.h"
#include "layout.h"

namespace {

std::vector<std::string> journal;

// Logs "<name>:<box name>" for every event it sees and answers `result`.
struct Recorder : GuiEventHandler {
    std::string name;
    int32_t result;
    int attachedCalls = 0, detachedCalls = 0;
    Recorder(const char* n, uint32_t mask, int32_t r = 0) : GuiEventHandler(mask), name(n), result(r) {}
    int32_t handle(GuiEvent&, GuiBox* box, int) override {
        journal.push_back(name + ":" + box->name.c_str());
        return result;
    }
    void attached(GuiBox*) override { attachedCalls++; }
    void detached(GuiBox*) override { detachedCalls++; }
};

GuiBox* box(const char* name, GuiBox* parent = nullptr) {
    GuiBox* b = new GuiBox();
    b->name = name;
    if (parent) parent->addChild(b, parent->children.num);
    return b;
}

std::string childNames(GuiBox* b) {
    std::string s;
    for (GuiBox* c : b->children) s += c->name.c_str();
    return s;
}

// Places a box's border box at [l, r) x [t, b) without running layout.
void place(GuiBox* b, float l, float t, float r, float bot) { b->paddingRect = GuiRect{t, l, r, bot}; }

}  // namespace

TEST(GuiTree, MinusOneInsertsBeforeTheLastAndPositionsClamp) {
    GuiBox* p = box("P");
    p->addChild(box("A"), -1);
    p->addChild(box("B"), -1);
    p->addChild(box("C"), -1);
    EXPECT_EQ(childNames(p), "BCA");
    p->addChild(box("D"), 100);
    p->addChild(box("E"), -100);
    EXPECT_EQ(childNames(p), "EBCAD");

    // Moving a child to another parent detaches it first.
    GuiBox* q = box("Q");
    q->addChild(p->children[1], 0);
    EXPECT_EQ(childNames(p), "ECAD");
    EXPECT_EQ(q->children[0]->parent, q);
    p->addChild(nullptr, 0);
    EXPECT_EQ(p->children.num, 4);
    delete p;
    delete q;
}

TEST(GuiTree, HandlerOrderMaskAndDetachRules) {
    GuiBox b;
    Recorder a("a", GuiEvKey), bb("b", GuiEvMove), c("c", GuiEvWheel);
    b.addHandler(&a, -1);
    b.addHandler(&bb, -1);
    b.addHandler(&c, -1);
    ASSERT_EQ(b.handlers.num, 3);
    EXPECT_EQ(b.handlers[0], &bb);
    EXPECT_EQ(b.handlers[1], &c);
    EXPECT_EQ(b.handlers[2], &a);
    EXPECT_EQ(a.attachedCalls, 1);
    EXPECT_EQ(b.eventMask, (uint32_t)(GuiEvKey | GuiEvMove | GuiEvWheel));

    b.removeHandler(&bb);
    EXPECT_EQ(b.eventMask, (uint32_t)(GuiEvKey | GuiEvWheel));
    Recorder stranger("s", GuiEvCommand);
    b.removeHandler(&stranger);  // not in the list: still told
    EXPECT_EQ(stranger.detachedCalls, 1);
    EXPECT_EQ(b.handlers.num, 2);
    b.removeHandler(&a);
    b.removeHandler(&c);
    EXPECT_EQ(b.eventMask, 0u);
}

TEST(GuiTree, DeletingABoxDetachesItAndReleasesHandlers) {
    GuiBox* root = box("root");
    GuiBox* mid = box("mid", root);
    box("leaf", mid);
    Recorder r("r", GuiEvKey);
    mid->addHandler(&r, 0);
    delete mid;
    EXPECT_EQ(root->children.num, 0);
    EXPECT_EQ(r.detachedCalls, 1);
    delete root;
}

TEST(GuiTree, FindBoxIsPreOrderAndExact) {
    GuiBox* root = box("root");
    GuiBox* a = box("a", root);
    GuiBox* deep = box("x", a);
    box("x", root);  // later sibling with the same name loses
    EXPECT_EQ(root->findBox("x"), deep);
    EXPECT_EQ(root->findBox("root"), root);
    EXPECT_EQ(root->findBox("X"), nullptr);
    EXPECT_EQ(root->findBox(""), nullptr);
    EXPECT_EQ(root->findBox(nullptr), nullptr);
    delete root;
}

TEST(GuiTree, SetHiddenNotifiesTheSubtreeOnlyOnChange) {
    GuiBox* root = box("root");
    GuiBox* panel = box("panel", root);
    GuiBox* child = box("child", panel);
    Recorder r1("n", GuiEvNotify), r2("n", GuiEvNotify), r3("n", GuiEvNotify);
    root->addHandler(&r1, 0);
    panel->addHandler(&r2, 0);
    child->addHandler(&r3, 0);
    journal.clear();
    panel->setHidden(true);
    EXPECT_EQ(journal, (std::vector<std::string>{"n:panel", "n:child"}));
    EXPECT_FALSE(isShown(child));
    EXPECT_TRUE(isShown(root));
    journal.clear();
    panel->setHidden(true);
    EXPECT_TRUE(journal.empty());
    panel->setHidden(false);
    EXPECT_TRUE(isShown(child));
    EXPECT_EQ(journal.size(), 2u);
    // The recorders live on the stack: take them off before the boxes die.
    root->removeHandler(&r1);
    panel->removeHandler(&r2);
    child->removeHandler(&r3);
    delete root;
}

// Tree: root(A, B(B1, B2), C); each box has a recorder for GuiEvKey.
class GuiRouting : public ::testing::Test {
protected:
    GuiBox* root;
    GuiBox *a, *b, *b1, *b2, *c;
    std::vector<Recorder*> recorders;
    void SetUp() override {
        root = box("root");
        a = box("A", root);
        b = box("B", root);
        b1 = box("B1", b);
        b2 = box("B2", b);
        c = box("C", root);
        for (GuiBox* x : {root, a, b, b1, b2, c}) add(x, 0);
        journal.clear();
    }
    Recorder* add(GuiBox* x, int32_t result) {
        Recorder* r = new Recorder("k", GuiEvKey, result);
        recorders.push_back(r);
        x->addHandler(r, 0);
        return r;
    }
    void answer(GuiBox* x, int32_t result) { ((Recorder*)x->handlers[0])->result = result; }
    void TearDown() override {
        delete root;
        for (Recorder* r : recorders) delete r;
    }
    std::string route(GuiBox* from, int mode, GuiBox* stop, int32_t* result = nullptr) {
        journal.clear();
        GuiEvent ev(GuiEvKey);
        int32_t r = propagateEvent(ev, from, mode, stop);
        if (result) *result = r;
        std::string s;
        for (const std::string& j : journal) s += j.substr(2) + " ";
        return s;
    }
};

TEST_F(GuiRouting, DownUpAndDirect) {
    EXPECT_EQ(route(b2, PropagateDown, nullptr), "root B B2 ");
    EXPECT_EQ(route(b2, PropagateDown, b), "B B2 ");
    EXPECT_EQ(route(b2, PropagateUp, nullptr), "B2 B root ");
    EXPECT_EQ(route(b2, PropagateUp, b), "B2 B ");
    EXPECT_EQ(route(b2, PropagateDirect, root), "B2 ");
    EXPECT_EQ(route(b2, 7, nullptr), "");
    EXPECT_EQ(route(nullptr, PropagateUp, nullptr), "");

    int32_t r;
    answer(b, 5);
    EXPECT_EQ(route(b2, PropagateDown, nullptr, &r), "root B ");
    EXPECT_EQ(r, 5);
    EXPECT_EQ(route(b2, PropagateUp, nullptr, &r), "B2 B ");
    EXPECT_EQ(r, 5);
}

TEST_F(GuiRouting, SubtreeStopsOnHandledAndSkipsOnSkipSubtree) {
    EXPECT_EQ(route(root, PropagateSubtree, nullptr), "root A B B1 B2 C ");
    int32_t r;
    answer(b, SkipSubtree);
    EXPECT_EQ(route(root, PropagateSubtree, nullptr, &r), "root A B C ");
    EXPECT_EQ(r, 0);
    answer(b, 0);
    answer(b1, 9);
    EXPECT_EQ(route(root, PropagateSubtree, nullptr, &r), "root A B B1 ");
    EXPECT_EQ(r, 9);
}

TEST(GuiHitTest, SolidParentShadowsChildAndHiddenBoxesAreSkipped) {
    GuiBox* root = box("root");
    GuiBox* parent = box("parent", root);
    GuiBox* child = box("child", parent);
    GuiBox* plain = box("plain", root);  // no solidBox: never found
    place(root, 0, 0, 100, 100);
    place(parent, 10, 10, 50, 50);
    place(child, 20, 20, 30, 30);
    place(plain, 60, 60, 90, 90);
    parent->borderPx[GuiRight] = 2;  // the border belongs to the hit area
    parent->addHandler(&guiHittestHandler, -1);
    child->addHandler(&guiHittestHandler, -1);

    EXPECT_EQ(hitTest(root, 25, 25), parent);
    EXPECT_EQ(hitTest(root, 51, 25), parent);
    EXPECT_EQ(hitTest(root, 52, 25), nullptr);
    EXPECT_EQ(hitTest(root, 10, 50), nullptr);  // right and bottom edges are outside
    EXPECT_EQ(hitTest(root, 70, 70), nullptr);
    EXPECT_EQ(hitTest(nullptr, 25, 25), nullptr);

    parent->setHidden(true);
    EXPECT_EQ(hitTest(root, 25, 25), child);
    EXPECT_EQ(hitTest(root, 15, 15), nullptr);
    delete root;
}

TEST(GuiDraw, OrderBordersTextAndHiddenSubtrees) {
    FakeGuiRenderer ren;
    GuiBox* root = box("root");
    root->width = guiPixels(100);
    root->height = guiPixels(50);
    root->margin[GuiLeft] = guiPixels(10);
    root->margin[GuiTop] = guiPixels(20);
    for (int i = 0; i < 4; i++) root->border[i] = guiPixels(2);
    root->borderColour[GuiLeft] = 0;  // a zero colour draws nothing despite its width
    root->bgColour = 0xFF112233;
    root->text = "hi";
    root->hAlign = 1;
    root->vAlign = 7;  // anything but -1 and 1 centres
    GuiBox* shown = box("shown", root);
    shown->bgColour = 0xFF000001;
    GuiBox* hidden = box("hidden", root);
    hidden->bgColour = 0xFF000002;
    box("inner", hidden)->bgColour = 0xFF000003;
    hidden->setHidden(true);
    GuiBox* silent = box("silent", root);
    silent->text = "x";
    silent->textColour = 0;

    GuiScreen screen(&ren, root, 40, 30);
    screen.draw();
    ASSERT_EQ(ren.calls.size(), 6u);
    const FakeGuiRenderer::Call* c = ren.calls.data();
    // Padding box is (12, 22)-(112, 72) with 2-pixel borders around it.
    EXPECT_EQ(c[0].what, "fill");
    EXPECT_EQ(c[0].colour, 0xFF112233u);
    EXPECT_FLOAT_EQ(c[0].x0, 12);
    EXPECT_FLOAT_EQ(c[0].y1, 72);
    // Pinwheel: top owns top-left, right owns top-right, bottom bottom-right.
    EXPECT_FLOAT_EQ(c[1].x0, 10);
    EXPECT_FLOAT_EQ(c[1].y0, 20);
    EXPECT_FLOAT_EQ(c[1].x1, 112);
    EXPECT_FLOAT_EQ(c[1].y1, 22);
    EXPECT_FLOAT_EQ(c[2].x0, 112);
    EXPECT_FLOAT_EQ(c[2].y0, 20);
    EXPECT_FLOAT_EQ(c[2].y1, 72);
    EXPECT_FLOAT_EQ(c[3].x0, 12);
    EXPECT_FLOAT_EQ(c[3].x1, 114);
    EXPECT_FLOAT_EQ(c[3].y1, 74);
    EXPECT_EQ(c[4].what, "hi");
    EXPECT_FLOAT_EQ(c[4].x0, 112);  // right-aligned anchor
    EXPECT_FLOAT_EQ(c[4].y0, 47);   // vertical centre of 22..72
    EXPECT_EQ(c[4].hAlign, 1);
    EXPECT_EQ(c[4].vAlign, 0);
    EXPECT_EQ(c[4].scale, 2);  // textScale x screen scale
    EXPECT_EQ(c[5].colour, 0xFF000001u);
}
