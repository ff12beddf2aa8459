#include <gtest/gtest.h>
#include "random.h"

TEST(RandomTest, FollowsTheLinearCongruenceAndStaysInRange) {
    Random r;
    r.seed(0);
    EXPECT_EQ(r.nextU32(), (uint32_t)(1442695040888963407ull >> 32));
    // The state before a draw of 0xFFFFFFFF: in float that fraction would
    // round up to 1.
    r.seed(0xd8fdc62eeeb52770ull);
    EXPECT_LT(r.nextUnit(), 1.0f);
    r.seed(0xd8fdc62eeeb52770ull);
    EXPECT_LT(r.nextSigned(), 1.0f);
    r.seed(0xd8fdc62eeeb52770ull);
    EXPECT_LE(r.nextRange(2.0f, 4.0f), 4.0f);
}
