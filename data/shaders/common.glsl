// Device-wide registers, shared by every shader and written by setVertexConstants.
layout(std140) uniform Constants {
    vec4 c[256];
};

// State of the bound render target, kept by the device layer.
layout(std140) uniform TargetState {
    vec4 pixelShift;  // (1/W, -1/H, 0, 0)
    float alphaRef;   // alpha test reference in 0..255, negative = off
};

// The layer's clip space has depth 0..1 and pixel centres on whole
// coordinates; GL's has depth -1..1 and centres half a pixel further.
vec4 deviceClip(vec4 p) {
    return vec4(p.x + pixelShift.x * p.w, p.y + pixelShift.y * p.w, 2.0 * p.z - p.w, p.w);
}

#ifdef FRAGMENT_STAGE
void alphaTest(float alpha) {
    if (alpha * 255.0 < alphaRef - 0.5) discard;
}
#endif
