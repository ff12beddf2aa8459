#include <gtest/gtest.h>
#include <vector>
#include "voxel_build.h"

namespace {

const uint32_t palette[256] = {0, 0xFF112233u, 0xFF445566u};

std::vector<CubeInstance> boxCubes(const std::vector<uint8_t>& g, int nx, int ny, int nz, int x0, int y0, int z0,
                                   int flags) {
    std::vector<CubeInstance> out;
    visitVoxelBox(g.data(), 1, nx, nx * ny, nx, ny, nz, palette, x0, y0, z0, flags,
                  [&](const CubeInstance& c) { out.push_back(c); });
    return out;
}

struct Grid {
    int sx, sy, sz;
    std::vector<uint8_t> cells;
    Grid(int x, int y, int z) : sx(x), sy(y), sz(z), cells((size_t)x * y * z, 0) {}
    uint8_t& at(int x, int y, int z) { return cells[(size_t)x + (size_t)sx * (y + (size_t)sy * z)]; }
    void fill(int x0, int y0, int z0, int x1, int y1, int z1, uint8_t v) {
        for (int z = z0; z <= z1; z++)
            for (int y = y0; y <= y1; y++)
                for (int x = x0; x <= x1; x++) at(x, y, z) = v;
    }
    std::vector<CubeInstance> chunk(int cx, int cy) const {
        VoxelGridView view = {cells.data(), 1, sx, sx * sy, sx, sy, sz, palette};
        std::vector<CubeInstance> out;
        buildVoxelChunk(view, cx, cy, [&](const CubeInstance& c) { out.push_back(c); });
        return out;
    }
};

}  // namespace

TEST(CubeInstanceTest, NegativeAndWideXKeepTheBlockBitClear) {
    // The hero's sprite offset of -8 voxels, and a level column past 2048.
    CubeInstance a = cubeInstance(-128, -16, -112, 1);
    EXPECT_FALSE(cubeInstanceIsBlock(a));
    EXPECT_EQ(cubeInstanceX(a), -128);
    EXPECT_EQ(cubeInstanceFace(a), -1);
    CubeInstance b = chunkInstance(4095, 255, 19, 1, true);
    EXPECT_TRUE(cubeInstanceIsBlock(b));
    EXPECT_EQ(cubeInstanceX(b), 4095 * 16);
    EXPECT_EQ(b.y, 255 * 16);
    EXPECT_EQ(b.z, 19 * 16);
    EXPECT_EQ(cubeInstanceX(chunkInstance(2047, 0, 0, 1, false)), 2047 * 16);
}

TEST(VoxelBoxTest, HiddenVoxelsAreSkippedAndOnlyThose) {
    EXPECT_EQ(boxCubes({1}, 1, 1, 1, 0, 0, 0, 0).size(), 1u);
    std::vector<CubeInstance> solid = boxCubes(std::vector<uint8_t>(27, 1), 3, 3, 3, 0, 0, 0, 0);
    ASSERT_EQ(solid.size(), 26u);
    for (const CubeInstance& c : solid) EXPECT_FALSE(c.xLow == 16 && c.y == 16 && c.z == 16) << "centre drawn";
    // A hollow centre uncovers nothing more; an empty box draws nothing.
    std::vector<uint8_t> hollow(27, 1);
    hollow[13] = 0;
    EXPECT_EQ(boxCubes(hollow, 3, 3, 3, 0, 0, 0, 0).size(), 26u);
    EXPECT_TRUE(boxCubes({}, 0, 3, 3, 0, 0, 0, 0).empty());
}

TEST(VoxelBoxTest, MirrorFlagsFlipTheirAxis) {
    // One voxel at (0, 1, 0) of a 4 x 2 x 1 box, placed at (-8, 0, -7).
    std::vector<uint8_t> g(8, 0);
    g[4] = 2;
    std::vector<CubeInstance> plain = boxCubes(g, 4, 2, 1, -8, 0, -7, 0);
    ASSERT_EQ(plain.size(), 1u);
    EXPECT_EQ(cubeInstanceX(plain[0]), -8 * 16);
    EXPECT_EQ(plain[0].y, 16);
    EXPECT_EQ(plain[0].colour, palette[2]);
    std::vector<CubeInstance> mirrored = boxCubes(g, 4, 2, 1, -8, 0, -7, 1);
    ASSERT_EQ(mirrored.size(), 1u);
    EXPECT_EQ(cubeInstanceX(mirrored[0]), (-8 + 3) * 16);
    EXPECT_EQ(mirrored[0].y, 16);
    EXPECT_EQ(boxCubes(g, 4, 2, 1, 0, 0, 0, 2)[0].y, 0);  // flag 2 mirrors Y
}

TEST(VoxelChunkTest, UniformBlocksMergeAndMixedOnesSplit) {
    Grid g(16, 16, 4);
    g.fill(4, 4, 0, 5, 5, 1, 1);
    std::vector<CubeInstance> one = g.chunk(0, 0);
    ASSERT_EQ(one.size(), 1u);
    EXPECT_TRUE(cubeInstanceIsBlock(one[0]));
    EXPECT_EQ(cubeInstanceX(one[0]), 4 * 16);
    EXPECT_EQ(one[0].y, 4 * 16);

    g.at(5, 5, 1) = 2;  // one voxel differs: eight single cubes
    std::vector<CubeInstance> split = g.chunk(0, 0);
    ASSERT_EQ(split.size(), 8u);
    for (const CubeInstance& c : split) EXPECT_FALSE(cubeInstanceIsBlock(c));
    g.at(5, 5, 1) = 0;  // one voxel missing: seven
    EXPECT_EQ(g.chunk(0, 0).size(), 7u);
    EXPECT_TRUE(g.chunk(1, 1).empty());  // outside the grid
}

TEST(VoxelChunkTest, BuriedBlocksAndVoxelsAreSkipped) {
    // A solid 6 x 6 x 6 cube at the origin of a larger grid: 27 blocks, of
    // which only the one at (2, 2, 2) is buried; blocks at the grid's border
    // count as visible.
    Grid g(16, 16, 8);
    g.fill(0, 0, 0, 5, 5, 5, 1);
    EXPECT_EQ(g.chunk(0, 0).size(), 26u);
    // A mixed block inside solid surroundings keeps only its uncovered voxel.
    g.at(2, 2, 2) = 2;
    g.at(3, 3, 3) = 0;
    std::vector<CubeInstance> cubes = g.chunk(0, 0);
    EXPECT_EQ(cubes.size(), 26u + 3u) << "the three voxels of the split block around the hole";
}

TEST(VoxelChunkTest, OddSizedGridsAreNotReadPastTheirEnd) {
    // 3 x 3 x 3 cells exactly: blocks at the far edges lie partly outside
    // and are taken voxel by voxel: one block at the origin, 19 singles.
    Grid g(3, 3, 3);
    g.fill(0, 0, 0, 2, 2, 2, 1);
    g.cells.shrink_to_fit();
    std::vector<CubeInstance> cubes = g.chunk(0, 0);
    EXPECT_EQ(cubes.size(), 20u);
    for (const CubeInstance& c : cubes) {
        int reach = cubeInstanceIsBlock(c) ? 2 : 1;
        EXPECT_LE(cubeInstanceX(c) / 16 + reach, 3);
        EXPECT_LE(c.y / 16 + reach, 3);
        EXPECT_LE(c.z / 16 + reach, 3);
    }
}
