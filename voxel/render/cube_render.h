// cube_render: every voxel on screen drawn by one shader from 12-byte
// CubeInstance records, each a whole cube or one face of one (the shader
// holds the corners). Moving things (shots, debris) go into one dynamic
// batch of 16384 whole cubes that is drawn when it fills, when the object
// transform changes and when the pass ends; sprites are drawn from face
// meshes built once per sprite, flags and offset; the level is drawn from
// its chunk cache of faces (voxel_cache.h) inside the same pass.
#pragma once
#include <cstdint>
#include "qz_math.h"
#include "voxel_build.h"

struct VoxelSprite;

enum {
    CUBE_BATCH_INSTANCES = 16384,
    CUBE_BATCH_BYTES = CUBE_BATCH_INSTANCES * 12,
};

// The fixed world light, (0, 2, -1) normalised.
const Vec4 CUBE_LIGHT_DIRECTION = {0.0f, 0.8944272f, -0.4472136f, 0.0f};

// Cube layout, "cube.sh", instance buffer and the static mesh. A buffer that
// cannot be made is fatal ("Can't create cube VB").
void initCubeRenderer();
void shutdownCubeRenderer();

// Opens the pass: binds the layout, indices and shader, culls counter-clockwise
// triangles. Expects c0-c6 to hold the frame's identity-transform values.
void beginCubes();
// Object-to-world transform of the following cubes; a change draws what is
// pending and sets c0-c3, c5 and c6 for the new transform.
void setCubeTransform(const Mat4& objectToWorld);
// One cube at (X, Y, Z) in 1/16 voxel units.
void addCube(int X, int Y, int Z, uint32_t colour);
// The visible voxels of a box as whole cubes of the batch (see
// walkVoxelBox for the flags).
void drawVoxelBox(const uint8_t* grid, int strideX, int strideY, int strideZ, int nx, int ny, int nz,
                  const uint32_t* palette, int x0, int y0, int z0, int flags);
// The sprite's voxel (0, 0, 0) at (x0, y0, z0); flag 1 mirrors along X.
// Draws the faces that can be seen from the sprite's mesh for these
// arguments, built on first use (sprites never change after loading).
void drawVoxelSprite(const VoxelSprite* sprite, int x0, int y0, int z0, int flags);
// Draws the pending cubes. force: also unlock an empty batch, so that other
// buffers may be drawn.
void flushCubes(bool force);
// Draws what is pending, ends instancing and restores the identity-transform
// constants when a transform was set.
void endCubes();

// Binds the cube layout, indices and shader again (after another pass drew).
void bindCubePipeline();
// Face buffers hold each face's record once per corner and are drawn
// without instancing: the software rasteriser runs its vertex pipeline once
// per instance, which costs more than the quad itself for a single face.
enum { FACE_VERTICES = 4, FACES_PER_DRAW = 16384 };  // 16-bit indices
inline int faceBufferBytes(int faces) { return faces * FACE_VERTICES * (int)sizeof(CubeInstance); }
// Draws `count` faces from a face buffer, starting at face `first`.
struct DeviceBuffer;
void drawCubeFaces(DeviceBuffer* buffer, int first, int count);
// The eye position given to setCubeFrameConstants (world voxels).
Vec4 cubeFrameEye();

// Records go out as streaming stores: instance buffers are never read back.
void streamCubeInstance(void* dst, const CubeInstance& c);
// One face into a face buffer (FACE_VERTICES records); returns the next write position.
uint8_t* streamCubeFace(uint8_t* dst, const CubeInstance& c);

// c0-c3, c4 (eye), c5 and c6 for the identity transform, as the scene pass
// sets them at the start of a frame.
void setCubeFrameConstants(const Mat4& viewProjection, Vec4 eye);
