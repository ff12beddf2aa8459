// debug_vis: batched coloured triangles and lines in world space, for the
// game's debug views. Drawn with the frame's view x projection (c0-c3).
// Batches are opened and closed within one frame; a batch of any size
// works, drawing whenever the 4096-vertex buffer fills or the primitive
// type changes.
#pragma once
#include <cstdint>
#include "qz_math.h"

// Fatal "can't create debugVis vertex buffer" when the buffer cannot be made.
void initDebugDraw();
void shutdownDebugDraw();

void beginDebugDraw();  // culling off until endDebugDraw
// Points are world positions; their w is ignored.
void debugTriangle(Vec4 p0, Vec4 p1, Vec4 p2, uint32_t c0, uint32_t c1, uint32_t c2);
void debugLine(Vec4 p0, Vec4 p1, uint32_t c0, uint32_t c1);
void debugSolidCube(Vec4 centre, float halfSize, uint32_t colour);
void debugWireBox(Vec4 cornerA, Vec4 cornerB, uint32_t colour);
void debugCross(Vec4 centre, float halfSize, uint32_t colour);
void endDebugDraw();
