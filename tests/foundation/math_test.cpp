#include <gtest/gtest.h>
#include "qz_math.h"

TEST(Matrix, InverseUndoesTheTransform) {
    Mat4 proj = {};
    proj.m[0][0] = 1.125f;
    proj.m[1][1] = 2.0f;
    proj.m[2][2] = 1.0005002f;
    proj.m[2][3] = 1.0f;
    proj.m[3][2] = -1.0005002f;
    Mat4 m = translationMatrix(3, -4, 5) * proj;
    Mat4 inv;
    ASSERT_TRUE(invertMatrix(m, &inv));
    Vec4 p = transform(transform({1, 2, 3, 1}, m), inv);
    p = p * (1.0f / p.w);
    EXPECT_NEAR(p.x, 1, 1e-4);
    EXPECT_NEAR(p.y, 2, 1e-4);
    EXPECT_NEAR(p.z, 3, 1e-4);
    Mat4 zero = {};
    EXPECT_FALSE(invertMatrix(zero, &inv));
}
