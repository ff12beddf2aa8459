// vec4: the plain 4-float points and row-major 4x4 matrices of game logic.
// Points carry w = 1 and directions w = 0; matrices act on row vectors
// (p' = p * M), so row 3 holds the translation.
#pragma once

#include "qz_math.h"

inline Vec4 vec4(float x, float y, float z, float w) { return Vec4{x, y, z, w}; }

inline Mat4 identityMat4() { return identityMatrix(); }

// Turn about the vertical axis by degrees, with `position` as row 3: a model
// point (mx, my, mz) lands at (px + mx cos - mz sin, py + my, pz + mx sin + mz cos).
Mat4 yawMat4(float degrees, Vec4 position);
