// Text and flat rectangles in screen pixels, origin bottom-left. c16 maps
// pixels to clip space, c17 texels to texture coordinates; a texture
// coordinate of (-1, -1) marks a solid quad.
#include "common.glsl"

//@vertex
layout(location = 0) in vec2 position;  // pixels
layout(location = 3) in vec4 colour;
layout(location = 4) in vec2 texel;     // column, stored row of the sheet
out vec4 vertexColour;
out vec2 uv;
flat out int solid;

void main() {
    gl_Position = vec4(position.x * c[16].x + c[16].z, position.y * c[16].y + c[16].w, 0.0, 1.0);
    vertexColour = colour;
    uv = texel * c[17].xy;
    solid = texel.x < 0.0 ? 1 : 0;
}

//@fragment
in vec4 vertexColour;
in vec2 uv;
flat in int solid;
uniform sampler2D s0;
out vec4 fragColour;

void main() {
    vec4 result = solid != 0 ? vertexColour : texture(s0, uv) * vertexColour;
    alphaTest(result.a);
    fragColour = result;
}
