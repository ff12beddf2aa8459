#include <gtest/gtest.h>
#include "camera.h"

TEST(Camera, PixelScaleFollowsHeight) {
    const int heights[] = {100, 239, 240, 359, 360, 720, 1080};
    const int scales[] = {1, 1, 2, 2, 3, 6, 9};
    for (int i = 0; i < 7; i++) EXPECT_EQ(pixelScaleForHeight(heights[i]), scales[i]) << heights[i];
    testing::internal::CaptureStdout();
    computePixelScale(1280, 720);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "3d pixel scale: 6\n");
    EXPECT_FLOAT_EQ(camera.projection.m[1][1], 2.0f);
    EXPECT_FLOAT_EQ(camera.projection.m[0][0], 1.125f);
    EXPECT_EQ(cameraPosition.x, 106.0f);  // 1280 div 2 div 6
    EXPECT_EQ(cameraPosition.y, 60.0f);
}

TEST(Camera, EyeSnapsToWholeScreenPixels) {
    testing::internal::CaptureStdout();
    computePixelScale(1280, 360);
    testing::internal::GetCapturedStdout();
    Vec4 eye = eyePositionFor({10.3f, 2.5f / 3.0f, 0.4f, 1.0f});
    EXPECT_FLOAT_EQ(eye.x, 31.0f / 3.0f + 1.0f / 6.0f);
    EXPECT_FLOAT_EQ(eye.y, 2.0f / 3.0f + 1.0f / 6.0f);  // 2.5 rounds to even
    EXPECT_FLOAT_EQ(eye.z, -120.0f);
}

TEST(Camera, PlaneZeroShowsPixelScaleVoxelsPerPixel) {
    testing::internal::CaptureStdout();
    computePixelScale(1280, 720);
    testing::internal::GetCapturedStdout();
    cameraPosition = {500.0f, 100.0f, 0.0f, 1.0f};
    updateStepCamera();
    // A point 10 voxels right of the eye at z = 0 lands 60 pixels right of centre.
    Vec4 c = transform({camera.stepEye.x + 10.0f, camera.stepEye.y, 0.0f, 1.0f}, camera.stepViewProjection);
    EXPECT_NEAR(c.x / c.w * 640.0f, 60.0f, 1e-3);
    // The pointer over the screen centre pixel aims at the camera's column.
    Vec4 p = unprojectPointerToPlane(640.0f, 359.0f, 8.0f);
    EXPECT_NEAR(p.x, camera.stepEye.x, 0.01);
    EXPECT_NEAR(p.y, camera.stepEye.y, 0.2);
    EXPECT_EQ(p.z, 8.0f);
    // 60 pixels right at depth 0 is 10 voxels; deeper planes look smaller.
    Vec4 q = unprojectPointerToPlane(700.0f, 359.0f, 0.0f);
    EXPECT_NEAR(q.x - p.x, 10.0f, 0.02);
    Vec4 r = unprojectPointerToPlane(700.0f, 359.0f, 8.0f);
    EXPECT_NEAR(r.x - p.x, 10.0f * 128.0f / 120.0f, 0.02);
}
