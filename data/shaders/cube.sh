// Voxel cubes and cube faces, one instance each. c0-c3 object x view x
// projection, c5 light direction in object space, c6 depth plane (dot with
// the point gives 0.05 x world z). Opaque only: no alpha test, so the
// fragment stage never discards and depth can be tested early.
#include "common.glsl"

//@vertex
layout(location = 1) in vec4 instance;  // X bits 0-14 (+ bit 15: 2x2x2 block), Y, Z, face and X >> 15; 1/16 voxel
layout(location = 3) in vec4 colour;
out vec4 vertexColour;

// Per face (front, top, left, right, bottom, back) its four corners.
const ivec3 corners[24] = ivec3[24](
    ivec3(0, 0, 0), ivec3(1, 0, 0), ivec3(0, 1, 0), ivec3(1, 1, 0),
    ivec3(0, 1, 0), ivec3(1, 1, 0), ivec3(0, 1, 1), ivec3(1, 1, 1),
    ivec3(0, 0, 0), ivec3(0, 1, 0), ivec3(0, 0, 1), ivec3(0, 1, 1),
    ivec3(1, 0, 1), ivec3(1, 1, 1), ivec3(1, 0, 0), ivec3(1, 1, 0),
    ivec3(0, 0, 1), ivec3(1, 0, 1), ivec3(0, 0, 0), ivec3(1, 0, 0),
    ivec3(0, 1, 1), ivec3(1, 1, 1), ivec3(0, 0, 1), ivec3(1, 0, 1));
const int normalAxis[6] = int[6](2, 1, 0, 0, 1, 2);
const int normalByte[6] = int[6](0, 255, 0, 255, 0, 255);

void main() {
    // xHigh: bits 0-7 X >> 15 (signed), bits 8-10 face + 1 (0: all six
    // faces, the 24 corners in index order).
    int xHigh = int(instance.w);
    int face = (xHigh >> 8) & 7;
    int v = face == 0 ? gl_VertexID : (face - 1) * 4 + (gl_VertexID & 3);
    int f = v >> 2;
    ivec3 corner = corners[v];

    int xLow = int(instance.x) & 0xFFFF;
    float size = (xLow & 0x8000) != 0 ? 2.0 : 1.0;
    float x = float(xLow & 0x7FFF) + float((xHigh << 24) >> 24) * 32768.0;
    vec3 p = vec3(x, instance.y, instance.z) / 16.0 + vec3(corner) * size;
    gl_Position = deviceClip(mat4(c[0], c[1], c[2], c[3]) * vec4(p, 1.0));

    // Faces facing the light: the front at 1, the top brighter, the sides
    // darker and the bottom darkest, so bevels and crater walls read as
    // steps. The normal leans slightly towards each corner (bytes 118/138
    // against 0/255 on its axis), shading every face a little across, which
    // separates neighbouring cubes.
    vec3 tilt = vec3(corner.x != 0 ? 138.0 : 118.0, corner.y != 0 ? 138.0 : 118.0, corner.z != 0 ? 138.0 : 118.0);
    tilt[normalAxis[f]] = float(normalByte[f]);
    vec3 n = normalize((tilt / 255.0) * 2.0 - 1.0);
    float light = 0.8 + 0.45 * dot(n, normalize(c[5].xyz));
    // Deeper layers darken: the back wall sits well behind the play plane.
    float depth = 1.0 - 0.45 * clamp(dot(c[6], vec4(p, 1.0)), 0.0, 1.0);
    vertexColour = vec4(min(colour.rgb * light * depth, vec3(1.0)), colour.a);
}

//@fragment
in vec4 vertexColour;
out vec4 fragColour;

void main() {
    fragColour = vertexColour;
}
