#include <gtest/gtest.h>
#include "qz_utils.h"

TEST(Timer, ConversionsMultiplyBeforeDividing) {
    timerInit();
    EXPECT_EQ(timerFrequency(), 1000000000);
    EXPECT_EQ(ticksToMs(1999999), 1);
    EXPECT_EQ(ticksToUs(1999), 1);
    EXPECT_EQ(msToTicks(50), 50000000);
    EXPECT_EQ(ticksToMs(-1500000), -1);  // truncates toward zero
    EXPECT_FLOAT_EQ(ticksToSeconds(50000000), 0.05f);
    // Uptimes of days in nanoseconds must not overflow the microsecond product.
    int64_t week = 7LL * 24 * 3600 * 1000000000LL;
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
    resolveAppFile(out, "/tmp/../tmp");
    EXPECT_STREQ(out, "/tmp");
    resolveAppFile(out, nullptr);
    EXPECT_STREQ(out, appPath);
}
