#include <gtest/gtest.h>
#include "display_options.h"

TEST(WindowPlacement, CentredOnTheWorkArea) {
    WindowRect r = centredClientRect({0, 0, 1920, 1040}, 1280, 720);
    EXPECT_EQ(r.left, 320);
    EXPECT_EQ(r.top, 160);
    EXPECT_EQ(r.right, 1600);
    EXPECT_EQ(r.bottom, 880);
}
