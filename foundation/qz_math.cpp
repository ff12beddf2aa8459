#include "qz_math.h"

bool invertMatrix(const Mat4& a, Mat4* out) {
    // Gauss-Jordan elimination with partial pivoting, in double precision.
    double w[4][8];
    for (int i = 0; i < 4; i++)
        for (int j = 0; j < 4; j++) {
            w[i][j] = a.m[i][j];
            w[i][j + 4] = i == j ? 1.0 : 0.0;
        }
    for (int c = 0; c < 4; c++) {
        int pivot = c;
        for (int r = c + 1; r < 4; r++)
            if (fabs(w[r][c]) > fabs(w[pivot][c])) pivot = r;
        if (fabs(w[pivot][c]) < 1e-12) {
            *out = identityMatrix();
            return false;
        }
        if (pivot != c)
            for (int j = 0; j < 8; j++) {
                double t = w[c][j];
                w[c][j] = w[pivot][j];
                w[pivot][j] = t;
            }
        double inv = 1.0 / w[c][c];
        for (int j = 0; j < 8; j++) w[c][j] *= inv;
        for (int r = 0; r < 4; r++) {
            if (r == c) continue;
            double f = w[r][c];
            if (f == 0) continue;
            for (int j = 0; j < 8; j++) w[r][j] -= f * w[c][j];
        }
    }
    for (int i = 0; i < 4; i++)
        for (int j = 0; j < 4; j++) out->m[i][j] = (float)w[i][j + 4];
    return true;
}

Mat4 yawMatrix(float degrees, Vec4 position) {
    // The library cosine and sine of the angle in radians, not exact 0 and 1:
    // drawing and aiming both use this matrix and must agree.
    float a = (float)(degrees * 0.017453292519943295);
    float c = cosf(a), s = sinf(a);
    Mat4 r = {{{c, 0, s, 0}, {0, 1, 0, 0}, {-s, 0, c, 0}, {position.x, position.y, position.z, position.w}}};
    return r;
}
