// Instanced voxel cubes. Provisional shading; the inputs and registers are
// final: c0-c3 object x view x projection, c5 light direction in object
// space, c6 depth plane.
#include "common.glsl"

//@vertex
layout(location = 0) in vec4 corner;    // x, y, z bytes 0 or 1
layout(location = 2) in vec4 faceAttr;  // normal bytes 0/255 and tilt 118/138
layout(location = 1) in vec4 instance;  // X bits 0-14 (+ bit 15: 2x2x2 block), Y, Z, X div 32768; 1/16 voxel
layout(location = 3) in vec4 colour;
out vec4 vertexColour;

void main() {
    int xLow = int(instance.x) & 0xFFFF;
    float size = (xLow & 0x8000) != 0 ? 2.0 : 1.0;
    float x = float(xLow & 0x7FFF) + instance.w * 32768.0;
    vec3 p = vec3(x, instance.y, instance.z) / 16.0 + round(corner.xyz * 255.0) * size;
    gl_Position = deviceClip(mat4(c[0], c[1], c[2], c[3]) * vec4(p, 1.0));

    vec3 n = normalize(faceAttr.xyz * 2.0 - 1.0);
    float light = 0.55 + 0.45 * max(dot(n, c[5].xyz), 0.0);
    float depth = clamp(1.0 - dot(c[6], vec4(p, 1.0)), 0.4, 1.0);
    vertexColour = vec4(colour.rgb * light * depth, colour.a);
}

//@fragment
in vec4 vertexColour;
out vec4 fragColour;

void main() {
    alphaTest(vertexColour.a);
    fragColour = vertexColour;
}
