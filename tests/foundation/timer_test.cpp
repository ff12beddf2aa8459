#include <gtest/gtest.h>
#include "qz_utils.h"
#include "windows_compat.h"

TEST(Timer, ConversionsMultiplyBeforeDividing) {
    timerInit();
    // 1 GHz on Linux, the performance counter's rate (10 MHz) on Windows.
    const int64_t f = timerFrequency();
    EXPECT_EQ(f, onWindows ? f : 1000000000);
    EXPECT_EQ(ticksToMs(2 * f / 1000 - 1), 1);
    EXPECT_EQ(ticksToUs(2 * f / 1000000 - 1), 1);
    EXPECT_EQ(msToTicks(50), f / 20);
    EXPECT_EQ(ticksToMs(-(f / 1000) * 3 / 2), -1);  // truncates toward zero
    EXPECT_FLOAT_EQ(ticksToSeconds(f / 20), 0.05f);
    // Uptimes of days in ticks must not overflow the microsecond product.
    int64_t week = 7LL * 24 * 3600 * f;
    EXPECT_EQ(ticksToUs(week), 7LL * 24 * 3600 * 1000000LL);
}

TEST(Timer, NowIsMonotonic) {
    int64_t a = timerNow();
    int64_t b = timerNow();
    EXPECT_GE(b, a);
}

TEST(AppPath, ResolvesBesideTheProgram) {
    initAppPath();
    ASSERT_GT(strlen(appPath), 0u);
    EXPECT_EQ(appPath[strlen(appPath) - 1], '/');
    char out[QZ_MAX_PATH];
    resolveAppFile(out, "no-such-file.tga");
    EXPECT_EQ(std::string(out), std::string(appPath) + "no-such-file.tga");
    // An absolute path through ".." to the program's own folder.
    std::string app = appPath;
    std::string folder = app.substr(app.rfind('/', app.size() - 2) + 1);
    resolveAppFile(out, (app + "../" + folder).c_str());
    EXPECT_EQ(std::string(out), app);
    resolveAppFile(out, nullptr);
    EXPECT_STREQ(out, appPath);
}
