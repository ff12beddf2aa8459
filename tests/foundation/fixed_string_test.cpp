#include <gtest/gtest.h>
#include "qz_utils.h"

TEST(FixedString, AssignCopiesAndTerminates) {
    FixedString<16> s;
    s.assign("hello world", 5);
    EXPECT_STREQ(s, "hello");
    s.assign(nullptr);
    EXPECT_STREQ(s, "");
    std::string t63(63, 'x');
    FixedString<64> f;
    f.assign(t63.c_str());
    EXPECT_EQ(f.length(), 63);
}

TEST(FixedString, FormatNeverWritesPastItsBuffer) {
    struct {
        FixedString<8> s;
        char guard[8];
    } box;
    memset(box.guard, 0x5A, sizeof box.guard);
    box.s.format("%s-%d", "abcdefgh", 12345);
    EXPECT_STREQ(box.s, "abcdefg");
    for (char c : box.guard) EXPECT_EQ(c, 0x5A);
    box.s.format("%d", 42);
    EXPECT_STREQ(box.s, "42");
}

TEST(FixedStringDeathTest, OverlongAssignFails) {
    std::string t64(64, 'x');
    EXPECT_EXIT(
        {
            FixedString<64> f;
            f.assign(t64.c_str());
        },
        ::testing::ExitedWithCode(100), "failed ASSERT\\(l<BS\\)");
}
