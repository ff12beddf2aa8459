// voxel_build: which cubes a voxel box or a chunk of the level turns into.
// GL-free, so the choices (hidden voxels, 2 x 2 x 2 merging, mirroring, the
// instance record's bit fields) are tested without a device; the cube
// renderer hands these walkers an emitter that writes into device buffers.
#pragma once
#include <cstdint>

#pragma pack(push, 1)
// One cube of an instanced draw; positions in 1/16 voxel units.
struct CubeInstance {
    int16_t xLow;   // X bits 0-14; bit 15 set = a 2 x 2 x 2 block
    int16_t y, z;
    int16_t xHigh;  // bits 0-7: X >> 15 (signed); bits 8-10: see CubeFace
    uint32_t colour;
};
#pragma pack(pop)
static_assert(sizeof(CubeInstance) == 12, "instances are 12 bytes");

enum { CUBE_BLOCK_BIT = 0x8000 };

// Which faces an instance stands for, in xHigh bits 8-10: 0 = the whole
// cube, else 1 + the face. The shader takes the corners from its own table.
enum CubeFace { FaceFront, FaceTop, FaceLeft, FaceRight, FaceBottom, FaceBack, CUBE_FACES };

// Bit fields rather than % and /: sprites sit at negative offsets, and a
// negative remainder would set the block bit and throw the cube far away.
// X >> 15 keeps 8 bits (signed), which reaches 262144 voxels either way.
inline CubeInstance cubeInstance(int X, int Y, int Z, uint32_t colour) {
    CubeInstance c;
    c.xLow = (int16_t)(X & 0x7FFF);
    c.y = (int16_t)Y;
    c.z = (int16_t)Z;
    c.xHigh = (int16_t)((X >> 15) & 0xFF);
    c.colour = colour;
    return c;
}

// The same cube drawn as one face only.
inline CubeInstance faceInstance(CubeInstance c, int face) {
    c.xHigh = (int16_t)((c.xHigh & 0xFF) | (face + 1) << 8);
    return c;
}

// X rebuilt from both fields, without the block bit and the face.
inline int cubeInstanceX(const CubeInstance& c) { return ((int)c.xLow & 0x7FFF) + (int)(int8_t)(c.xHigh & 0xFF) * 32768; }
inline bool cubeInstanceIsBlock(const CubeInstance& c) { return ((uint16_t)c.xLow & CUBE_BLOCK_BIT) != 0; }
// -1 for a whole cube.
inline int cubeInstanceFace(const CubeInstance& c) { return ((c.xHigh >> 8) & 7) - 1; }

// Walks the voxels of a box that are not buried, calling
// visit(i, j, k, p, sX, sY, sZ): output position (i, j, k), p the voxel
// (never 0), and the steps towards +i, +j, +k in the grid. Flags: 1/2/4
// mirror X/Y/Z; then 8 swaps the X and Y steps, 16 the Y and Z steps, 32 the
// Z and X steps (equal extents required). A voxel inside the box whose six
// neighbours are all filled is skipped.
template <class Visit>
void walkVoxelBox(const uint8_t* grid, int strideX, int strideY, int strideZ, int nx, int ny, int nz, int flags,
                  Visit&& visit) {
    if (nx <= 0 || ny <= 0 || nz <= 0) return;
    long sX = strideX, sY = strideY, sZ = strideZ;
    const uint8_t* start = grid;
    if (flags & 1) {
        start += (long)(nx - 1) * sX;
        sX = -sX;
    }
    if (flags & 2) {
        start += (long)(ny - 1) * sY;
        sY = -sY;
    }
    if (flags & 4) {
        start += (long)(nz - 1) * sZ;
        sZ = -sZ;
    }
    long t;
    if (flags & 8) t = sX, sX = sY, sY = t;
    if (flags & 16) t = sY, sY = sZ, sZ = t;
    if (flags & 32) t = sZ, sZ = sX, sX = t;

    for (int k = 0; k < nz; k++) {
        bool innerK = k > 0 && k < nz - 1;
        for (int j = 0; j < ny; j++) {
            bool innerJK = innerK && j > 0 && j < ny - 1;
            const uint8_t* row = start + k * sZ + j * sY;
            for (int i = 0; i < nx; i++) {
                const uint8_t* p = row + i * sX;
                if (!*p) continue;
                if (innerJK && i > 0 && i < nx - 1 && p[sX] && p[-sX] && p[sY] && p[-sY] && p[sZ] && p[-sZ])
                    continue;
                visit(i, j, k, p, sX, sY, sZ);
            }
        }
    }
}

// The visible voxels of a box as unit cubes at ((x0 + i) 16, (y0 + j) 16,
// (z0 + k) 16); flags as for walkVoxelBox.
template <class Emit>
void visitVoxelBox(const uint8_t* grid, int strideX, int strideY, int strideZ, int nx, int ny, int nz,
                   const uint32_t* palette, int x0, int y0, int z0, int flags, Emit&& emit) {
    walkVoxelBox(grid, strideX, strideY, strideZ, nx, ny, nz, flags,
                 [&](int i, int j, int k, const uint8_t* p, long, long, long) {
                     emit(cubeInstance((x0 + i) * 16, (y0 + j) * 16, (z0 + k) * 16, palette[*p]));
                 });
}

// The faces of those cubes that can be seen: a face is kept when the voxel
// next to it is empty or outside the box (a sprite is seen from any side).
template <class Emit>
void visitVoxelBoxFaces(const uint8_t* grid, int strideX, int strideY, int strideZ, int nx, int ny, int nz,
                        const uint32_t* palette, int x0, int y0, int z0, int flags, Emit&& emit) {
    walkVoxelBox(grid, strideX, strideY, strideZ, nx, ny, nz, flags,
                 [&](int i, int j, int k, const uint8_t* p, long sX, long sY, long sZ) {
                     CubeInstance c = cubeInstance((x0 + i) * 16, (y0 + j) * 16, (z0 + k) * 16, palette[*p]);
                     if (k == 0 || !p[-sZ]) emit(faceInstance(c, FaceFront));
                     if (j == ny - 1 || !p[sY]) emit(faceInstance(c, FaceTop));
                     if (i == 0 || !p[-sX]) emit(faceInstance(c, FaceLeft));
                     if (i == nx - 1 || !p[sX]) emit(faceInstance(c, FaceRight));
                     if (j == 0 || !p[-sY]) emit(faceInstance(c, FaceBottom));
                     if (k == nz - 1 || !p[sZ]) emit(faceInstance(c, FaceBack));
                 });
}

// A grid of palette indices (0 = empty) as the chunk builder reads it.
struct VoxelGridView {
    const uint8_t* grid;
    int strideX, strideY, strideZ;
    int sizeX, sizeY, sizeZ;
    const uint32_t* palette;
};

enum { VOXEL_CHUNK = 16 };  // chunk width and height in voxels; a chunk spans all of Z

// Instance of a level voxel (or of a block at its corner): X counted in
// 2048-voxel pages so that the whole 4096-voxel width fits.
inline CubeInstance chunkInstance(int x, int y, int z, uint32_t colour, bool block) {
    CubeInstance c;
    c.xLow = (int16_t)((x & 2047) * 16 | (block ? CUBE_BLOCK_BIT : 0));
    c.y = (int16_t)(y * 16);
    c.z = (int16_t)((z & 4095) * 16);
    c.xHigh = (int16_t)(x >> 11);
    c.colour = colour;
    return c;
}

// The cubes of chunk (cx, cy), as visit(x, y, z, v, block): uniform
// 2 x 2 x 2 blocks merge into one double-size cube at their corner, and
// voxels or blocks buried on every side are skipped. A block that reaches
// past the grid (odd sizes) is taken voxel by voxel, and the voxels outside
// are not read.
template <class Visit>
void visitChunkCubes(const VoxelGridView& g, int cx, int cy, Visit&& visit) {
    const long sX = g.strideX, sY = g.strideY, sZ = g.strideZ;
    // Corners of the block in visiting order, as (dx, dy, dz).
    static const int8_t order[8][3] = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0},
                                       {0, 0, 1}, {1, 0, 1}, {1, 1, 1}, {0, 1, 1}};
    auto at = [&](int x, int y, int z) { return g.grid[x * sX + y * sY + z * sZ]; };
    auto hidden = [&](int x, int y, int z, const uint8_t* p) {
        return x > 0 && x < g.sizeX - 1 && y > 0 && y < g.sizeY - 1 && z > 0 && z < g.sizeZ - 1 && p[sX] &&
               p[-sX] && p[sY] && p[-sY] && p[sZ] && p[-sZ];
    };
    int xEnd = VOXEL_CHUNK * cx + VOXEL_CHUNK, yEnd = VOXEL_CHUNK * cy + VOXEL_CHUNK;
    if (xEnd > g.sizeX) xEnd = g.sizeX;
    if (yEnd > g.sizeY) yEnd = g.sizeY;
    for (int z = 0; z < g.sizeZ; z += 2) {
        for (int y = VOXEL_CHUNK * cy; y < yEnd; y += 2) {
            for (int x = VOXEL_CHUNK * cx; x < xEnd; x += 2) {
                const uint8_t* p = g.grid + x * sX + y * sY + z * sZ;
                bool whole = x + 1 < g.sizeX && y + 1 < g.sizeY && z + 1 < g.sizeZ;
                uint8_t v = *p;
                if (whole && p[sX] == v && p[sY] == v && p[sX + sY] == v && p[sZ] == v && p[sX + sZ] == v &&
                    p[sY + sZ] == v && p[sX + sY + sZ] == v) {
                    if (!v) continue;
                    bool buried = x > 0 && x + 2 < g.sizeX && y > 0 && y + 2 < g.sizeY && z > 0 && z + 2 < g.sizeZ;
                    if (buried) {
                        // The 24 voxels touching the block's six faces from outside.
                        for (int a = 0; a < 2 && buried; a++)
                            for (int b = 0; b < 2 && buried; b++)
                                buried = at(x - 1, y + a, z + b) && at(x + 2, y + a, z + b) &&
                                         at(x + a, y - 1, z + b) && at(x + a, y + 2, z + b) &&
                                         at(x + a, y + b, z - 1) && at(x + a, y + b, z + 2);
                    }
                    if (!buried) visit(x, y, z, v, true);
                    continue;
                }
                for (const int8_t* d : order) {
                    int vx = x + d[0], vy = y + d[1], vz = z + d[2];
                    if (vx >= g.sizeX || vy >= g.sizeY || vz >= g.sizeZ) continue;
                    const uint8_t* q = g.grid + vx * sX + vy * sY + vz * sZ;
                    if (*q && !hidden(vx, vy, vz, q)) visit(vx, vy, vz, *q, false);
                }
            }
        }
    }
}

// The cubes of chunk (cx, cy) as instances.
template <class Emit>
void buildVoxelChunk(const VoxelGridView& g, int cx, int cy, Emit&& emit) {
    visitChunkCubes(g, cx, cy, [&](int x, int y, int z, uint8_t v, bool block) {
        emit(chunkInstance(x, y, z, g.palette[v], block));
    });
}

// Faces of the level, in the order a chunk's buffer groups them.
enum { CHUNK_FACE_GROUPS = 5 };
const int chunkFaceGroups[CHUNK_FACE_GROUPS] = {FaceFront, FaceTop, FaceBottom, FaceLeft, FaceRight};

// The faces of chunk (cx, cy) that can be seen, as emit(group, instance)
// with group an index into chunkFaceGroups. A face is kept when any voxel
// directly outside it (one for a unit cube, four for a block) is empty or
// lies beyond the grid's left, right, top, bottom or front border. Back
// faces are never kept: the camera stays in front of the grid, so beyond
// the back border counts as filled.
template <class Emit>
void buildChunkFaces(const VoxelGridView& g, int cx, int cy, Emit&& emit) {
    auto open = [&](int x, int y, int z) {
        if (x < 0 || x >= g.sizeX || y < 0 || y >= g.sizeY || z < 0) return true;
        if (z >= g.sizeZ) return false;
        return g.grid[x * (long)g.strideX + y * (long)g.strideY + z * (long)g.strideZ] == 0;
    };
    visitChunkCubes(g, cx, cy, [&](int x, int y, int z, uint8_t v, bool block) {
        CubeInstance c = chunkInstance(x, y, z, g.palette[v], block);
        int n = block ? 2 : 1;
        bool face[CHUNK_FACE_GROUPS] = {};
        for (int a = 0; a < n; a++)
            for (int b = 0; b < n; b++) {
                face[0] = face[0] || open(x + a, y + b, z - 1);
                face[1] = face[1] || open(x + a, y + n, z + b);
                face[2] = face[2] || open(x + a, y - 1, z + b);
                face[3] = face[3] || open(x - 1, y + a, z + b);
                face[4] = face[4] || open(x + n, y + a, z + b);
            }
        for (int f = 0; f < CHUNK_FACE_GROUPS; f++)
            if (face[f]) emit(f, faceInstance(c, chunkFaceGroups[f]));
    });
}

// Which groups of a chunk's faces can face an eye at (eyeX, eyeY) (in front
// of the grid): the front always; top faces when the eye is above the
// chunk's bottom, bottom faces when below its top, and likewise the sides.
// fastVoxels keeps the front only.
inline void chunkGroupsFacing(int cx, int cy, float eyeX, float eyeY, bool fastVoxels, bool need[CHUNK_FACE_GROUPS]) {
    float x = (float)(VOXEL_CHUNK * cx), y = (float)(VOXEL_CHUNK * cy);
    need[0] = true;
    need[1] = !fastVoxels && eyeY > y;
    need[2] = !fastVoxels && eyeY < y + VOXEL_CHUNK;
    need[3] = !fastVoxels && eyeX < x + VOXEL_CHUNK;
    need[4] = !fastVoxels && eyeX > x;
}

// Culled faces cost far less than a draw call: groups that cannot face the
// eye are drawn along (and culled) when no more than this many faces lie
// between two groups that must be drawn.
enum { MERGE_GAP_FACES = 64 };

// The instance ranges to draw for the needed groups (groupEnd[g] ends group
// g, which starts where the previous one ends): runs of needed groups,
// joined across small gaps. Returns the number of ranges (at most 3).
struct FaceRange {
    int first, count;
};
inline int chunkFaceRanges(const int32_t groupEnd[CHUNK_FACE_GROUPS], const bool need[CHUNK_FACE_GROUPS],
                           FaceRange out[CHUNK_FACE_GROUPS]) {
    auto begin = [&](int g) { return g == 0 ? 0 : (int)groupEnd[g - 1]; };
    auto wanted = [&](int g) { return need[g] && groupEnd[g] > begin(g); };
    int n = 0, g = 0;
    while (g < CHUNK_FACE_GROUPS) {
        if (!wanted(g)) {
            g++;
            continue;
        }
        int first = begin(g), end = groupEnd[g];
        g++;
        while (g < CHUNK_FACE_GROUPS) {
            int h = g, gap = 0;
            while (h < CHUNK_FACE_GROUPS && !wanted(h)) gap += groupEnd[h] - begin(h), h++;
            if (h == CHUNK_FACE_GROUPS || gap > MERGE_GAP_FACES) break;
            end = groupEnd[h];
            g = h + 1;
        }
        out[n++] = {first, end - first};
    }
    return n;
}
