// Instanced voxel cubes. c0-c3 object x view x projection, c5 light
// direction in object space, c6 depth plane (dot with the point gives
// 0.05 x world z).
#include "common.glsl"

//@vertex
layout(location = 0) in vec4 corner;    // x, y, z bytes 0 or 1
layout(location = 2) in vec4 faceAttr;  // normal bytes 0/255 and tilt 118/138
layout(location = 1) in vec4 instance;  // X bits 0-14 (+ bit 15: 2x2x2 block), Y, Z, X >> 15; 1/16 voxel
layout(location = 3) in vec4 colour;
out vec4 vertexColour;

void main() {
    int xLow = int(instance.x) & 0xFFFF;
    float size = (xLow & 0x8000) != 0 ? 2.0 : 1.0;
    float x = float(xLow & 0x7FFF) + instance.w * 32768.0;
    vec3 p = vec3(x, instance.y, instance.z) / 16.0 + round(corner.xyz * 255.0) * size;
    gl_Position = deviceClip(mat4(c[0], c[1], c[2], c[3]) * vec4(p, 1.0));

    // Faces facing the light: the front at 1, the top brighter, the sides
    // darker and the bottom darkest, so bevels and crater walls read as
    // steps. The attribute's slight tilt towards each corner shades every
    // face a little across, which separates neighbouring cubes.
    vec3 n = normalize(faceAttr.xyz * 2.0 - 1.0);
    float light = 0.8 + 0.45 * dot(n, normalize(c[5].xyz));
    // Deeper layers darken: the back wall sits well behind the play plane.
    float depth = 1.0 - 0.45 * clamp(dot(c[6], vec4(p, 1.0)), 0.0, 1.0);
    vertexColour = vec4(min(colour.rgb * light * depth, vec3(1.0)), colour.a);
}

//@fragment
in vec4 vertexColour;
out vec4 fragColour;

void main() {
    alphaTest(vertexColour.a);
    fragColour = vertexColour;
}
