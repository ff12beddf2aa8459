#include "vec4.h"
#include <cmath>

Mat4 yawMat4(float degrees, Vec4 position) {
    // The library cosine and sine of the angle in radians, not exact 0 and 1:
    // drawing and aiming both use this matrix and must agree.
    float a = (float)(degrees * 0.017453292519943295);
    float c = cosf(a), s = sinf(a);
    Mat4 r = {{{c, 0, s, 0}, {0, 1, 0, 0}, {-s, 0, c, 0}, {position.x, position.y, position.z, position.w}}};
    return r;
}
