// The launcher's screen as the program builds it: where its boxes land at
// two window sizes, and how the option labels follow the options.
#include <gtest/gtest.h>
#include <cstdlib>
#include <string>
#include <unistd.h>
#include <vector>
#include "display_options.h"
#include "gui_behaviour.h"
#include "launcher_screen.h"
#include "settings.h"
#include "swrender.h"
#include "temp_settings.h"

namespace {

// The screen laid out in a w x h buffer with the real 8-pixel font.
struct LaidOut {
    SoftwareGuiRenderer ren;
    std::vector<uint32_t> px;
    GuiScreen* screen;
    LaidOut(int w, int h) : px((size_t)w * h, 0) {
        ren.setTarget(px.data(), w * 4, w, h);
        ren.setFont(ren.loadFont("font.tga"));
        fontUnit = ren.unit();
        registerStandardBehaviours();
        screen = new GuiScreen(&ren, buildLauncherScreen(), 40, 30);
    }
    ~LaidOut() { delete screen; }
    GuiBox* command(int id) {
        for (int i = 0; i < screen->root->children.num; i++)
            if (screen->root->children[i]->commandId == id) return screen->root->children[i];
        return nullptr;
    }
};

// Left, top, right, bottom of a button's border box.
void expectRect(GuiBox* b, float l, float t, float r, float bottom, const char* what) {
    ASSERT_NE(b, nullptr) << what;
    EXPECT_FLOAT_EQ(b->paddingRect.left, l) << what;
    EXPECT_FLOAT_EQ(b->paddingRect.top, t) << what;
    EXPECT_FLOAT_EQ(b->paddingRect.right, r) << what;
    EXPECT_FLOAT_EQ(b->paddingRect.bottom, bottom) << what;
}

}  // namespace

TEST(LauncherScreen, ButtonsSitWhereTheLayoutPutsThemAtTwoScales) {
    {
        // Scale 2: a unit is 16 pixels; the looks carry a 2-pixel edge.
        LaidOut s(640, 480);
        EXPECT_EQ(s.screen->scale, 2);
        expectRect(s.screen->root, 0, 0, 640, 480, "root");
        expectRect(s.command(CmdToggleFullscreen), 118, 104, 522, 156, "first toggle");
        expectRect(s.command(CmdToggleFastVoxels), 118, 296, 522, 348, "last toggle");
        expectRect(s.command(CmdPlay), 444, 364, 624, 448, "Play, bottom right");
        expectRect(s.command(CmdQuit), 16, 364, 196, 448, "Quit, bottom left");
        expectRect(s.command(CmdVisitSite), 214, 364, 426, 448, "Visit site, bottom centre");
    }
    {
        // Scale 4 in a wider window: the 40 x 30-unit root stays centred.
        LaidOut s(1400, 960);
        EXPECT_EQ(s.screen->scale, 4);
        expectRect(s.screen->root, 60, 0, 1340, 960, "root");
        expectRect(s.command(CmdPlay), 60 + 888, 728, 60 + 1248, 896, "Play, bottom right");
    }
}

TEST(LauncherScreen, LabelsFollowStoredAndToggledOptions) {
    TempSettings settings;
    ASSERT_TRUE(writeSettingDword("flags", 0xF));
    loadFlags();
    LaidOut s(640, 480);
    const char* on[4] = {"Fullscreen", "Anti-aliasing: on", "VSync: on", "Fast voxels"};
    const char* off[4] = {"In window", "Anti-aliasing: off", "VSync: off", "Normal voxels"};
    for (int i = 0; i < 4; i++) EXPECT_STREQ(s.command(CmdToggleFullscreen + i)->findBox(".normal")->text, on[i]);

    for (int c = CmdToggleFullscreen; c <= CmdToggleFastVoxels; c++) EXPECT_TRUE(toggleOption(c));
    EXPECT_FALSE(toggleOption(CmdPlay));
    updateOptionLabels();
    // Whichever look is showing, it carries the new label.
    for (int i = 0; i < 4; i++)
        for (const char* look : {".normal", ".over", ".pressed"})
            EXPECT_STREQ(s.command(CmdToggleFullscreen + i)->findBox(look)->text, off[i]) << look;
}
