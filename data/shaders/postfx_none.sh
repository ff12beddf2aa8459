// Post-effect without effect: copies the scene image to the back buffer one
// texel per pixel.
#include "common.glsl"

//@vertex
layout(location = 0) in vec3 position;
out vec2 uv;

void main() {
    // c16 holds the mapping for the original's top-down rows and pixel
    // centres; evaluated for GL's bottom-up rows it is exactly this.
    uv = position.xy * 0.5 + 0.5;
    gl_Position = vec4(position.xy, 0.0, 1.0);
}

//@fragment
in vec2 uv;
uniform sampler2D s0;
out vec4 fragColour;

void main() {
    vec4 t = texture(s0, uv);
    alphaTest(t.a);
    fragColour = t;
}
