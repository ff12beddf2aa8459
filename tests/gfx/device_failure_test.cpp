#include <gtest/gtest.h>
#include <cstdlib>
#include "device.h"
#include "gl_window.h"
#include "windows_compat.h"

// Without a usable display or GL 3.3 the program stops with a message saying
// what is missing, instead of failing later in a draw.
TEST(DeviceFailureDeathTest, NoVideoIsFatalWithTheReason) {
    ::testing::GTEST_FLAG(death_test_style) = "threadsafe";
    EXPECT_EXIT(
        {
            setenv("SDL_VIDEODRIVER", "no_such_driver", 1);
            createDeviceWindow("t", 0, 0, 64, 64, 0);
        },
        ::testing::ExitedWithCode(100), "can't start SDL video");
}

TEST(DeviceFailureDeathTest, NoGl33ContextIsFatalWithTheReason) {
    SKIP_ON_WINDOWS("the old context comes from Mesa's MESA_GL_VERSION_OVERRIDE, which Windows' GL drivers do not read");
    ::testing::GTEST_FLAG(death_test_style) = "threadsafe";
    EXPECT_EXIT(
        {
            // The software renderer then offers no 3.3 core context.
            setenv("MESA_GL_VERSION_OVERRIDE", "3.0", 1);
            SDL_Window* w = createDeviceWindow("t", 0, 0, 64, 64, 0);
            initDevice(w, 64, 64);
        },
        ::testing::ExitedWithCode(100), "can't create an OpenGL 3.3 core context");
}
