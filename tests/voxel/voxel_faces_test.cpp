// The faces the chunk and sprite builders keep, against a brute-force
// surface: every unit square of a filled voxel whose neighbour across it is
// open must be covered by exactly one kept face of that direction, and
// every kept face must show at least one such square. Random grids (odd
// sizes, partial blocks at the borders), both level layouts, mirrored and
// turned sprites, and the groups a chunk draws for an eye.
#include <gtest/gtest.h>
#include <random>
#include <vector>
#include "level.h"
#include "voxel_build.h"

namespace {

const uint32_t palette[256] = {0, 0xFF112233u, 0xFF445566u, 0xFF778899u};

// Unit steps of each face's outward normal, by CubeFace.
const int normal[CUBE_FACES][3] = {{0, 0, -1}, {0, 1, 0}, {-1, 0, 0}, {1, 0, 0}, {0, -1, 0}, {0, 0, 1}};

struct Box {
    int sx, sy, sz;
    std::vector<uint8_t> cells;
    bool backClosed;  // level rule: beyond the back border counts as filled, and no back faces
    uint8_t at(int x, int y, int z) const { return cells[(size_t)x + (size_t)sx * (y + (size_t)sy * z)]; }
    bool open(int x, int y, int z) const {
        if (x < 0 || x >= sx || y < 0 || y >= sy || z < 0) return true;
        if (z >= sz) return !backClosed;
        return at(x, y, z) == 0;
    }
};

// Checks kept faces (face, x, y, z, size in voxels) against the surface of
// `box`; back faces are surface only when the back is open.
struct SurfaceCheck {
    const Box& box;
    std::vector<uint8_t> covered;  // bit per face direction, per voxel
    int errors = 0;
    explicit SurfaceCheck(const Box& b) : box(b), covered(b.cells.size(), 0) {}

    void face(int f, int x, int y, int z, int n) {
        bool shows = false;
        // The n x n unit squares: the voxels of the cube on that side.
        for (int a = 0; a < n; a++)
            for (int b = 0; b < n; b++) {
                int v[3] = {x, y, z};
                int axis = normal[f][0] ? 0 : normal[f][1] ? 1 : 2;
                int u = (axis + 1) % 3, w = (axis + 2) % 3;
                if (normal[f][axis] > 0) v[axis] += n - 1;
                v[u] += a;
                v[w] += b;
                size_t i = (size_t)v[0] + (size_t)box.sx * (v[1] + (size_t)box.sy * v[2]);
                if (covered[i] & (1 << f)) {
                    if (errors++ < 5) ADD_FAILURE() << "face " << f << " at " << v[0] << "," << v[1] << "," << v[2] << " twice";
                }
                covered[i] |= (uint8_t)(1 << f);
                shows = shows || box.open(v[0] + normal[f][0], v[1] + normal[f][1], v[2] + normal[f][2]);
            }
        if (!shows && errors++ < 5) ADD_FAILURE() << "hidden face " << f << " kept at " << x << "," << y << "," << z;
    }
    // Every open square is covered; call after all faces.
    void finish(int x0 = 0, int y0 = 0, int x1 = -1, int y1 = -1) {
        if (x1 < 0) x1 = box.sx, y1 = box.sy;
        for (int z = 0; z < box.sz; z++)
            for (int y = y0; y < y1; y++)
                for (int x = x0; x < x1; x++) {
                    if (!box.at(x, y, z)) continue;
                    size_t i = (size_t)x + (size_t)box.sx * (y + (size_t)box.sy * z);
                    // Seen from in front, a back face always faces away: the level keeps none.
                    for (int f = 0; f < (box.backClosed ? FaceBack : CUBE_FACES); f++)
                        if (box.open(x + normal[f][0], y + normal[f][1], z + normal[f][2]) && !(covered[i] & (1 << f)) &&
                            errors++ < 5)
                            ADD_FAILURE() << "missing face " << f << " at " << x << "," << y << "," << z;
                }
    }
};

// Checks every chunk of the box built as level chunks.
void checkChunks(const Box& box) {
    VoxelGridView view = {box.cells.data(), 1, box.sx, box.sx * box.sy, box.sx, box.sy, box.sz, palette};
    SurfaceCheck check(box);
    for (int cy = 0; cy * VOXEL_CHUNK < box.sy; cy++)
        for (int cx = 0; cx * VOXEL_CHUNK < box.sx; cx++) {
            buildChunkFaces(view, cx, cy, [&](int group, const CubeInstance& c) {
                int f = cubeInstanceFace(c);
                EXPECT_EQ(f, chunkFaceGroups[group]);
                EXPECT_NE(f, FaceBack);
                int x = ((int)c.xLow & 0x7FF0) / 16 + 2048 * (int)(int8_t)(c.xHigh & 0xFF);
                int y = c.y / 16, z = c.z / 16;
                EXPECT_EQ(x / VOXEL_CHUNK, cx);
                EXPECT_EQ(y / VOXEL_CHUNK, cy);
                EXPECT_EQ(c.colour, palette[box.at(x, y, z)]);
                check.face(f, x, y, z, cubeInstanceIsBlock(c) ? 2 : 1);
            });
        }
    check.finish();
}

Box randomBox(std::mt19937& rng, int sx, int sy, int sz, int density) {
    Box b = {sx, sy, sz, std::vector<uint8_t>((size_t)sx * sy * sz), true};
    // Uniform 2 x 2 x 2 lumps (merged into blocks) with single voxels
    // punched out and sprinkled in, in up to three colours.
    for (int z = 0; z < sz; z += 2)
        for (int y = 0; y < sy; y += 2)
            for (int x = 0; x < sx; x += 2) {
                uint8_t v = (int)(rng() % 100) < density ? (uint8_t)(1 + rng() % 3) : 0;
                for (int d = 0; d < 8; d++) {
                    int vx = x + (d & 1), vy = y + (d >> 1 & 1), vz = z + (d >> 2);
                    if (vx < sx && vy < sy && vz < sz) b.cells[(size_t)vx + (size_t)sx * (vy + (size_t)sy * vz)] = v;
                }
            }
    for (size_t i = 0; i < b.cells.size(); i++)
        if (rng() % 9 == 0) b.cells[i] = (uint8_t)(rng() % 4);
    return b;
}

}  // namespace

TEST(ChunkFacesTest, RandomGridsShowExactlyTheirSurfaceWithAClosedBack) {
    std::mt19937 rng(7);
    // Odd and even sizes, partial chunks, thin and deep grids, sparse and dense.
    const int sizes[][4] = {{37, 23, 9, 60}, {32, 32, 20, 85}, {17, 5, 3, 50}, {1, 1, 1, 100},
                            {48, 40, 6, 95}, {21, 19, 2, 30}, {33, 17, 11, 70}};
    for (const auto& s : sizes) {
        SCOPED_TRACE(testing::Message() << s[0] << "x" << s[1] << "x" << s[2]);
        checkChunks(randomBox(rng, s[0], s[1], s[2], s[3]));
        Box full = {s[0], s[1], s[2], std::vector<uint8_t>((size_t)s[0] * s[1] * s[2], 2), true};
        checkChunks(full);  // solid: borders only, no back
    }
}

TEST(ChunkFacesTest, BothLayoutsShowExactlyTheirSurface) {
    for (int layout = 1; layout <= 2; layout++) {
        SCOPED_TRACE(layout);
        testing::internal::CaptureStdout();
        levelNumber = layout;
        buildLevel();
        testing::internal::GetCapturedStdout();
        Box level = {LEVEL_SIZE_X, LEVEL_SIZE_Y, LEVEL_SIZE_Z,
                     std::vector<uint8_t>(levelGrid, levelGrid + (size_t)LEVEL_SIZE_X * LEVEL_SIZE_Y * LEVEL_SIZE_Z),
                     true};
        checkChunks(level);
    }
}

TEST(SpriteFacesTest, MirroredAndTurnedSpritesShowExactlyTheirSurface) {
    std::mt19937 rng(11);
    for (int round = 0; round < 4; round++) {
        int n = 3 + round * 2;  // cubes, so that every axis swap applies
        Box src = randomBox(rng, n, n, n, 60);
        for (int flags : {0, 1, 2, 4, 7, 8, 9, 16, 32, 33}) {
            SCOPED_TRACE(testing::Message() << "size " << n << " flags " << flags);
            // The drawn box, by the flags' meaning: mirror first, then swap
            // which source axis each output axis walks.
            Box out = {n, n, n, std::vector<uint8_t>(src.cells.size()), false};
            for (int k = 0; k < n; k++)
                for (int j = 0; j < n; j++)
                    for (int i = 0; i < n; i++) {
                        int o[3] = {i, j, k};  // output steps, then which source axis each walks
                        int ax[3] = {0, 1, 2};
                        if (flags & 8) std::swap(ax[0], ax[1]);
                        if (flags & 16) std::swap(ax[1], ax[2]);
                        if (flags & 32) std::swap(ax[2], ax[0]);
                        int s[3] = {0, 0, 0};
                        for (int a = 0; a < 3; a++) s[ax[a]] = o[a];
                        for (int a = 0; a < 3; a++)
                            if (flags & (1 << a)) s[a] = n - 1 - s[a];
                        out.cells[(size_t)i + (size_t)n * (j + (size_t)n * k)] = src.at(s[0], s[1], s[2]);
                    }
            SurfaceCheck check(out);
            visitVoxelBoxFaces(src.cells.data(), 1, n, n * n, n, n, n, palette, 5, -3, 2, flags,
                               [&](const CubeInstance& c) {
                                   int x = cubeInstanceX(c) / 16 - 5, y = c.y / 16 + 3, z = c.z / 16 - 2;
                                   ASSERT_FALSE(cubeInstanceIsBlock(c));
                                   EXPECT_EQ(c.colour, palette[out.at(x, y, z)]);
                                   check.face(cubeInstanceFace(c), x, y, z, 1);
                               });
            check.finish();
        }
    }
}

TEST(ChunkFacesTest, DrawnGroupsIncludeEveryFaceThatFacesTheEye) {
    std::mt19937 rng(3);
    Box box = randomBox(rng, 64, 48, 8, 55);
    VoxelGridView view = {box.cells.data(), 1, box.sx, box.sx * box.sy, box.sx, box.sy, box.sz, palette};
    const float eyes[][2] = {{-5.5f, 20.2f}, {31.7f, 31.7f}, {70.1f, -3.3f}, {16.0f, 48.0f}, {40.5f, 8.5f}};
    for (const auto& eye : eyes)
        for (int cy = 0; cy < 3; cy++)
            for (int cx = 0; cx < 4; cx++)
                for (bool fast : {false, true}) {
                    // Grouped as the cache stores them.
                    std::vector<CubeInstance> groups[CHUNK_FACE_GROUPS], faces;
                    buildChunkFaces(view, cx, cy, [&](int g, const CubeInstance& c) { groups[g].push_back(c); });
                    int32_t groupEnd[CHUNK_FACE_GROUPS];
                    for (int g = 0; g < CHUNK_FACE_GROUPS; g++) {
                        faces.insert(faces.end(), groups[g].begin(), groups[g].end());
                        groupEnd[g] = (int32_t)faces.size();
                    }
                    bool need[CHUNK_FACE_GROUPS];
                    chunkGroupsFacing(cx, cy, eye[0], eye[1], fast, need);
                    FaceRange ranges[CHUNK_FACE_GROUPS];
                    int n = chunkFaceRanges(groupEnd, need, ranges);
                    ASSERT_LE(n, 3);
                    std::vector<bool> drawn(faces.size(), false);
                    for (int r = 0; r < n; r++) {
                        if (r > 0) {
                            EXPECT_GT(ranges[r].first, ranges[r - 1].first + ranges[r - 1].count - 1);
                        }
                        for (int i = ranges[r].first; i < ranges[r].first + ranges[r].count; i++) drawn[(size_t)i] = true;
                    }
                    for (size_t i = 0; i < faces.size(); i++) {
                        const CubeInstance& c = faces[i];
                        int f = cubeInstanceFace(c), s = cubeInstanceIsBlock(c) ? 2 : 1;
                        float x = (float)(((int)c.xLow & 0x7FF0) / 16), y = (float)(c.y / 16);
                        // Whether the face's plane has the eye on its outer side.
                        bool facing = f == FaceFront || (f == FaceTop && eye[1] > y + s) ||
                                      (f == FaceBottom && eye[1] < y) || (f == FaceLeft && eye[0] < x) ||
                                      (f == FaceRight && eye[0] > x + s);
                        if (fast) {
                            EXPECT_EQ(drawn[i], f == FaceFront);
                        } else if (facing) {
                            EXPECT_TRUE(drawn[i]) << "face " << f << " at " << x << "," << y;
                        }
                    }
                }
}
