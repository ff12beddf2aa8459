#include "camera.h"
#include "qz_utils.h"

Camera camera;
Vec4 cameraPosition = {0, 0, 0, 1};

int32_t pixelScaleForHeight(int height) {
    int s = height / 120;
    return s < 1 ? 1 : s;
}

void computePixelScale(int width, int height) {
    ASSERT(width>0 && height>0);
    int s = pixelScaleForHeight(height);
    camera.pixelScale = s;
    camera.width = width;
    camera.height = height;
    camera.eyeOffset = {0.5f / (float)s, 0.5f / (float)s, -120.0f, 0.0f};
    cameraPosition = {(float)(width / 2 / s), (float)(height / 2 / s), 0.0f, 1.0f};

    float ys = (float)(120 * s) / (float)height * 2.0f;
    float xs = ys / ((float)width / (float)height);
    Mat4 p = {};
    p.m[0][0] = xs;
    p.m[1][1] = ys;
    p.m[2][2] = 1.0005002f;
    p.m[2][3] = 1.0f;
    p.m[3][2] = -1.0005002f;
    camera.projection = p;
    logMessage("3d pixel scale: %d", s);
}

Vec4 eyePositionFor(Vec4 position) {
    // Snapping to whole screen pixels keeps voxel edges on pixel edges;
    // nearbyint rounds ties to even.
    float s = (float)camera.pixelScale;
    return {nearbyintf(s * position.x) / s + camera.eyeOffset.x, nearbyintf(s * position.y) / s + camera.eyeOffset.y,
            nearbyintf(position.z) + camera.eyeOffset.z, nearbyintf(position.w) + camera.eyeOffset.w};
}

Mat4 viewMatrixFor(Vec4 eye) { return translationMatrix(-eye.x, -eye.y, -eye.z); }

void updateStepCamera() {
    camera.stepEye = eyePositionFor(cameraPosition);
    camera.stepView = viewMatrixFor(camera.stepEye);
    camera.stepViewProjection = camera.stepView * camera.projection;
    invertMatrix(camera.stepViewProjection, &camera.stepInverseViewProjection);
}

Vec4 unprojectPointerToPlane(float mx, float my, float planeZ) {
    float W = (float)camera.width, H = (float)camera.height;
    float nx = (2.0f * mx - W) / W;
    float ny = (2.0f * (H - 1.0f - my) - H) / H;
    // Two points on the pointer's line: on the near and on the far plane.
    Vec4 a = transform({nx, ny, 0.0f, 1.0f}, camera.stepInverseViewProjection);
    Vec4 b = transform({nx, ny, 1.0f, 1.0f}, camera.stepInverseViewProjection);
    a = a * (1.0f / a.w);
    b = b * (1.0f / b.w);
    float dz = b.z - a.z;
    float k = dz != 0.0f ? (planeZ - a.z) / dz : 0.0f;
    Vec4 p = a + (b - a) * k;
    p.z = planeZ;
    p.w = 1.0f;
    return p;
}
