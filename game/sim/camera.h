// camera: the 3D pixel scale, the projection and the eye that turn voxel
// coordinates into screen pixels. One voxel at the plane z = 0 covers
// pixelScale x pixelScale screen pixels; the view shows 120 to 239 voxel
// rows (fewer only in windows under 120 pixels high).
#pragma once
#include <cstdint>
#include "qz_math.h"

struct Camera {
    int32_t pixelScale;     // screen pixels per voxel at z = 0, >= 1
    int32_t width, height;  // screen size in pixels the camera was computed for
    Vec4 eyeOffset;         // (0.5 / pixelScale, 0.5 / pixelScale, -120, 0)
    Mat4 projection;
    // Set by updateStepCamera once per fixed step; game logic turns the mouse
    // into a world position with them.
    Vec4 stepEye;
    Mat4 stepView;
    Mat4 stepViewProjection;
    Mat4 stepInverseViewProjection;
};

// Run state. camera: computed by computePixelScale at start-up and on every
// resize; its step fields by updateStepCamera each step.
extern Camera camera;
// The point the view is centred on, in voxels: reset by computePixelScale
// and resetCamera, interpolated from the hero's camera follow before every
// frame.
extern Vec4 cameraPosition;

// Picks the pixel scale for a screen, builds the projection, resets
// cameraPosition to the screen centre and logs "3d pixel scale: %d".
void computePixelScale(int width, int height);
int32_t pixelScaleForHeight(int height);

// cameraPosition snapped to whole screen pixels, plus the eye offset.
Vec4 eyePositionFor(Vec4 position);
// Translation by minus the eye.
Mat4 viewMatrixFor(Vec4 eye);

void updateStepCamera();

// Where the line from the step's eye through the pointer pixel (mx, my),
// my counted from the top of the screen, crosses the plane z = planeZ.
Vec4 unprojectPointerToPlane(float mx, float my, float planeZ);
