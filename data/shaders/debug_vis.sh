// Debug shapes: world-space vertices in the frame's view x projection, drawn
// in their own colour.
#include "common.glsl"

//@vertex
layout(location = 0) in vec3 position;
layout(location = 3) in vec4 colour;
out vec4 vertexColour;

void main() {
    gl_Position = deviceClip(mat4(c[0], c[1], c[2], c[3]) * vec4(position, 1.0));
    vertexColour = colour;
}

//@fragment
in vec4 vertexColour;
out vec4 fragColour;

void main() {
    alphaTest(vertexColour.a);
    fragColour = vertexColour;
}
