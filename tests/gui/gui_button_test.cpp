#include <gtest/gtest.h>
#include <string>
#include "fake_gui_renderer.h"
#include "fake_input_platform.h"
#include "gui_behaviour.h"

namespace {

// Collects the commands that bubble up to the root.
struct CommandSink : GuiEventHandler {
    int count = 0;
    int32_t last = 0;
    GuiBox* source = nullptr;
    CommandSink() : GuiEventHandler(GuiEvCommand) {}
    int32_t handle(GuiEvent& ev, GuiBox*, int) override {
        GuiCommandEvent& c = static_cast<GuiCommandEvent&>(ev);
        count++;
        last = c.command;
        source = c.source;
        return 1;
    }
};

struct KeySink : GuiEventHandler {
    int keys = 0;
    KeySink() : GuiEventHandler(GuiEvKey) {}
    int32_t handle(GuiEvent&, GuiBox*, int) override {
        keys++;
        return 1;
    }
};

GuiBox* look(const char* name, GuiBox* parent) {
    GuiBox* b = new GuiBox();
    b->name = name;
    b->width = guiUnits(10);
    b->height = guiUnits(4);
    parent->addChild(b, parent->children.num);
    return b;
}

}  // namespace

// A 640 x 480 screen (unit 16) with a panel holding one button whose border
// box spans x 32..192 and y 32..96.
class GuiButton : public ::testing::Test {
protected:
    FakeInputPlatform fake;
    FakeGuiRenderer ren;
    CommandSink sink;
    KeySink keys;
    GuiScreen* screen = nullptr;
    GuiBox *panel, *button;

    void SetUp() override {
        inputInit(&fake);
        inputEndStep();
        registerStandardBehaviours();
        GuiBox* root = new GuiBox();
        root->width = guiUnits(40);
        root->height = guiUnits(30);
        for (int i = 0; i < 4; i++) root->margin[i] = guiAuto();
        panel = new GuiBox();
        root->addChild(panel, 0);
        button = new GuiBox();
        button->margin[GuiTop] = guiUnits(2);
        button->margin[GuiLeft] = guiUnits(2);
        button->commandId = 42;
        panel->addChild(button, 0);
        look(".normal", button);
        look(".over", button);
        look(".pressed", button);
        applyBehaviour(button, "solidBox");
        applyBehaviour(button, "button");
        root->addHandler(&sink, -1);
        screen = new GuiScreen(&ren, root, 40, 30);
    }
    void TearDown() override {
        screen->root->removeHandler(&sink);
        delete screen;
        inputEndStep();
    }

    std::string shown() {
        std::string s;
        for (const char* n : {".normal", ".over", ".pressed"})
            if (!button->findBox(n)->hidden()) s += n;
        return s;
    }
    void move(float x, float y) {
        pushInput(InputMove, 0, 0, 0, x, y);
        screen->processInput();
    }
    void press(int vk) {
        fake.held[vk] = true;
        float x, y;
        mousePosition(&x, &y);
        pushInput(InputButtonDown, (uint32_t)vk, 0, 0, x, y);
        screen->processInput();
    }
    // Releases count where the pointer last moved.
    void release(int vk) {
        fake.held[vk] = false;
        pushInput(InputButtonUp, (uint32_t)vk, 0, 0, 0, 0);
        screen->processInput();
    }
};

TEST_F(GuiButton, LayoutPutsTheButtonWhereTheTestsPoint) {
    EXPECT_EQ(screen->scale, 2);
    EXPECT_FLOAT_EQ(button->paddingRect.left, 32);
    EXPECT_FLOAT_EQ(button->paddingRect.right, 192);
    EXPECT_FLOAT_EQ(button->paddingRect.bottom, 96);
    EXPECT_EQ(shown(), ".normal");
}

TEST_F(GuiButton, ClickSendsTheCommandAndShowsOver) {
    move(50, 50);
    EXPECT_EQ(screen->hover, button);
    EXPECT_EQ(shown(), ".over");
    press(VK_LBUTTON);
    EXPECT_EQ(screen->capture, button);
    EXPECT_EQ(shown(), ".pressed");
    release(VK_LBUTTON);
    EXPECT_EQ(screen->capture, nullptr);
    EXPECT_EQ(sink.count, 1);
    EXPECT_EQ(sink.last, 42);
    EXPECT_EQ(sink.source, button);
    EXPECT_EQ(shown(), ".over");
    move(300, 300);
    EXPECT_EQ(screen->hover, nullptr);
    EXPECT_EQ(shown(), ".normal");
}

TEST_F(GuiButton, DragOffAndReleaseSendsNothingAndDragBackSends) {
    move(50, 50);
    press(VK_LBUTTON);
    move(300, 300);
    EXPECT_EQ(screen->hover, nullptr);
    EXPECT_EQ(screen->capture, button);
    EXPECT_EQ(shown(), ".normal");
    release(VK_LBUTTON);
    EXPECT_EQ(sink.count, 0);
    EXPECT_EQ(shown(), ".normal");
    EXPECT_EQ(screen->capture, nullptr);

    move(50, 50);
    press(VK_LBUTTON);
    move(300, 300);
    move(60, 60);  // back on while held: pressed again
    EXPECT_EQ(screen->hover, button);
    EXPECT_EQ(shown(), ".pressed");
    release(VK_LBUTTON);
    EXPECT_EQ(sink.count, 1);
    EXPECT_EQ(shown(), ".over");
}

TEST_F(GuiButton, ReleasingLeftWhileRightIsHeldKeepsPressed) {
    move(50, 50);
    press(VK_LBUTTON);
    press(VK_RBUTTON);
    release(VK_LBUTTON);
    EXPECT_EQ(sink.count, 0);
    EXPECT_EQ(shown(), ".pressed");
    EXPECT_EQ(screen->capture, button);
    release(VK_RBUTTON);
    EXPECT_EQ(sink.count, 1);
    EXPECT_EQ(screen->capture, nullptr);
}

TEST_F(GuiButton, PressOverNothingThenReleaseOnTheButtonClicks) {
    move(300, 300);
    press(VK_LBUTTON);
    EXPECT_EQ(screen->capture, nullptr);
    move(50, 50);
    EXPECT_EQ(shown(), ".pressed");  // entered with a button held
    release(VK_LBUTTON);
    EXPECT_EQ(sink.count, 1);
}

TEST_F(GuiButton, HidingThePanelResetsTheLook) {
    move(50, 50);
    EXPECT_EQ(shown(), ".over");
    panel->setHidden(true);
    // Hidden buttons ignore the pointer.
    move(60, 60);
    EXPECT_EQ(shown(), ".normal");
    panel->setHidden(false);
    EXPECT_EQ(shown(), ".normal");
}

TEST_F(GuiButton, KeysGoOnlyToTheBoxUnderThePointer) {
    screen->root->addHandler(&keys, -1);
    button->addHandler(&keys, -1);
    move(300, 300);  // over no solid box: the key goes nowhere
    pushInput(InputKeyDown, 'A', 0, 0, 0, 0);
    screen->processInput();
    EXPECT_EQ(keys.keys, 0);
    move(50, 50);
    pushInput(InputKeyDown, 'A', 0, 0, 0, 0);
    screen->processInput();
    EXPECT_EQ(keys.keys, 1);
    screen->root->removeHandler(&keys);
    button->removeHandler(&keys);
}

TEST_F(GuiButton, ButtonAppliedTwiceOnlyTheFirstReacts) {
    applyBehaviour(button, "BUTTON");
    ASSERT_EQ(button->handlers.num, 3);
    move(50, 50);
    press(VK_LBUTTON);
    release(VK_LBUTTON);
    EXPECT_EQ(sink.count, 1);
}

TEST(GuiBehaviours, RegistryIsCaseInsensitiveAndIgnoresUnknownNames) {
    registerStandardBehaviours();
    registerStandardBehaviours();  // no duplicates
    GuiBehaviour* solid = findBehaviour("SolidBox");
    ASSERT_NE(solid, nullptr);
    EXPECT_STREQ(solid->name(), "solidBox");
    EXPECT_STREQ(findBehaviour("BUTTON")->name(), "button");
    EXPECT_EQ(findBehaviour("slider"), nullptr);
    GuiBox b;
    applyBehaviour(&b, "slider");
    EXPECT_EQ(b.handlers.num, 0);
    unregisterBehaviour(solid);
    EXPECT_EQ(findBehaviour("solidBox"), nullptr);
    EXPECT_NE(findBehaviour("button"), nullptr);
    registerBehaviour(solid);
}
