// qz_math: the one vector and matrix vocabulary of both programs (Vec4,
// Mat4 and the operations below): four-component vectors and 4 x 4 matrices in the row-vector
// convention of the whole system: a point p is transformed as p x M, and
// the translation sits in the last row.
#pragma once
#include <cmath>

// Points carry w = 1, directions w = 0 (the default when w is left out).
struct Vec4 {
    float x, y, z, w = 0;
};

inline Vec4 vec4(float x, float y, float z, float w) { return Vec4{x, y, z, w}; }

inline Vec4 operator+(Vec4 a, Vec4 b) { return {a.x + b.x, a.y + b.y, a.z + b.z, a.w + b.w}; }
inline Vec4 operator-(Vec4 a, Vec4 b) { return {a.x - b.x, a.y - b.y, a.z - b.z, a.w - b.w}; }
inline Vec4 operator*(Vec4 a, float s) { return {a.x * s, a.y * s, a.z * s, a.w * s}; }
inline float length3(Vec4 a) { return sqrtf(a.x * a.x + a.y * a.y + a.z * a.z); }

struct Mat4 {
    float m[4][4];  // m[row][column]
};

inline Mat4 identityMatrix() {
    Mat4 r = {};
    for (int i = 0; i < 4; i++) r.m[i][i] = 1;
    return r;
}

inline Mat4 translationMatrix(float x, float y, float z) {
    Mat4 r = identityMatrix();
    r.m[3][0] = x;
    r.m[3][1] = y;
    r.m[3][2] = z;
    return r;
}

inline Mat4 operator*(const Mat4& a, const Mat4& b) {
    Mat4 r;
    for (int i = 0; i < 4; i++)
        for (int j = 0; j < 4; j++)
            r.m[i][j] = a.m[i][0] * b.m[0][j] + a.m[i][1] * b.m[1][j] + a.m[i][2] * b.m[2][j] + a.m[i][3] * b.m[3][j];
    return r;
}

inline Vec4 transform(Vec4 p, const Mat4& a) {
    return {p.x * a.m[0][0] + p.y * a.m[1][0] + p.z * a.m[2][0] + p.w * a.m[3][0],
            p.x * a.m[0][1] + p.y * a.m[1][1] + p.z * a.m[2][1] + p.w * a.m[3][1],
            p.x * a.m[0][2] + p.y * a.m[1][2] + p.z * a.m[2][2] + p.w * a.m[3][2],
            p.x * a.m[0][3] + p.y * a.m[1][3] + p.z * a.m[2][3] + p.w * a.m[3][3]};
}

// Turn about the vertical axis by degrees, with `position` as row 3: a model
// point (mx, my, mz) lands at (px + mx cos - mz sin, py + my, pz + mx sin + mz cos).
Mat4 yawMatrix(float degrees, Vec4 position);

// General inverse; false (and identity) for a singular matrix.
bool invertMatrix(const Mat4& a, Mat4* out);
