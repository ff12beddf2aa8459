// vec4: the plain 4-float points and row-major 4x4 matrices of game logic.
// Points carry w = 1 and directions w = 0; matrices act on row vectors
// (p' = p * M), so row 3 holds the translation.
#pragma once

struct Vec4 {
    float x, y, z, w;
};

inline Vec4 vec4(float x, float y, float z, float w) { return Vec4{x, y, z, w}; }

struct Mat4 {
    float m[4][4];
};

inline Mat4 identityMat4() {
    Mat4 r = {};
    for (int i = 0; i < 4; i++) r.m[i][i] = 1.0f;
    return r;
}

// Turn about the vertical axis by degrees, with `position` as row 3: a model
// point (mx, my, mz) lands at (px + mx cos - mz sin, py + my, pz + mx sin + mz cos).
Mat4 yawMat4(float degrees, Vec4 position);
