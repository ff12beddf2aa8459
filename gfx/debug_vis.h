// debug_vis: batched coloured triangles and lines in world space, for the
// game's debug views. Drawn with the frame's view x projection (c0-c3).
// Batches are opened and closed within one frame; a batch of any size
// works, drawing whenever the 4096-vertex buffer fills or the primitive
// type changes.
#pragma once
#include <cstdint>

struct Float3 {
    float x, y, z;
};

// Fatal "can't create debugVis vertex buffer" when the buffer cannot be made.
void initDebugDraw();
void shutdownDebugDraw();

void beginDebugDraw();  // culling off until endDebugDraw
void debugTriangle(Float3 p0, Float3 p1, Float3 p2, uint32_t c0, uint32_t c1, uint32_t c2);
void debugLine(Float3 p0, Float3 p1, uint32_t c0, uint32_t c1);
void debugSolidCube(Float3 centre, float halfSize, uint32_t colour);
void debugWireBox(Float3 cornerA, Float3 cornerB, uint32_t colour);
void debugCross(Float3 centre, float halfSize, uint32_t colour);
void endDebugDraw();
