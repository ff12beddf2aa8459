// Tests: a full-screen quad whose colour proves which defines the cache was made with.
#include "../../../data/shaders/common.glsl"

//@vertex
layout(location = 0) in vec3 position;

void main() {
    gl_Position = vec4(position.xy, 0.0, 1.0);
}

//@fragment
out vec4 fragColour;

void main() {
    float red = float(A) / 255.0;  // A comes from the cache's defines
#ifdef B
    fragColour = vec4(red, 1.0, 0.0, 1.0);
#else
    fragColour = vec4(red, 0.0, 1.0, 1.0);
#endif
}
