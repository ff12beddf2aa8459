// Tests: one quad per instance, moved by the instance's offset, in the
// instance's colour; c0-c3 transform as in every 3D pass.
#include "../../../data/shaders/common.glsl"

//@vertex
layout(location = 0) in vec2 corner;
layout(location = 1) in vec2 offset;
layout(location = 3) in vec4 colour;
out vec4 vertexColour;

void main() {
    gl_Position = deviceClip(mat4(c[0], c[1], c[2], c[3]) * vec4(corner + offset, 0.5, 1.0));
    vertexColour = colour;
}

//@fragment
in vec4 vertexColour;
out vec4 fragColour;

void main() {
    alphaTest(vertexColour.a);
    fragColour = vertexColour;
}
