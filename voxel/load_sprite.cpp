// load_sprite: reading voxel sprite PNGs, cutting sprites out of the level
// grid, and freeing sprites.
#include <png.h>
#include <cstdio>
#include <cstring>
#include "qz_alloc.h"
#include "qz_utils.h"
#include "voxel_sprite.h"

// Sprites are a few thousand voxels. These caps keep a hostile header from
// making the decoder allocate gigabytes of rows (at most 64 MiB decoded);
// the decoder refuses larger images with its own message.
enum { MAX_SPRITE_IMAGE_WIDTH = 8192, MAX_SPRITE_IMAGE_HEIGHT = 2048 };

static VoxelSprite* newSprite(int sx, int sy, int sz, int numColors) {
    VoxelSprite* s = (VoxelSprite*)qzRealloc(nullptr, sizeof(VoxelSprite));
    ASSERT(s);
    memset(s, 0, sizeof *s);
    static uint32_t lastSerial;
    s->serial = ++lastSerial;
    s->sizeX = sx;
    s->sizeY = sy;
    s->sizeZ = sz;
    s->numColors = numColors;
    s->palette = (uint32_t*)qzRealloc(nullptr, (size_t)numColors * sizeof(uint32_t));
    ASSERT(s->palette);
    s->voxels = (uint8_t*)qzRealloc(nullptr, (size_t)sx * sy * sz);
    ASSERT(s->voxels);
    return s;
}

void destroyVoxelSprite(VoxelSprite* s) {
    if (!s) return;
    qzFree(s->voxels);
    s->voxels = nullptr;
    qzFree(s->palette);
    s->palette = nullptr;
    qzFree(s);
}

//---------------------------------------------------------------------------
// PNG loading
//---------------------------------------------------------------------------

// Leading decimal digits of a text value; anything else stops the number.
// Saturates at 2^32 - 1, which every later size check refuses.
static uint64_t parseDimension(const char* text) {
    uint64_t v = 0;
    for (const char* p = text; *p >= '0' && *p <= '9'; p++) {
        v = v * 10 + (uint64_t)(*p - '0');
        if (v > 0xFFFFFFFFull) return 0xFFFFFFFFull;
    }
    return v;
}

static int findColor(const uint32_t* palette, int count, uint32_t c) {
    for (int i = 0; i < count; i++)
        if (palette[i] == c) return i;
    return count;
}

// Everything after the decoder's error return is armed. Every refusal goes
// through png_error and never returns; nothing is allocated before the last
// one, so the error return has only the decoder to free.
static VoxelSprite* readSprite(png_structp png, png_infop info, FILE* fp) {
    png_init_io(png, fp);
    png_read_png(png, info, PNG_TRANSFORM_EXPAND | PNG_TRANSFORM_BGR, nullptr);

    uint64_t width = png_get_image_width(png, info);
    uint64_t height = png_get_image_height(png, info);

    png_textp text = nullptr;
    int numText = 0;
    png_get_text(png, info, &text, &numText);
    uint64_t dim[3] = {0, 0, 0};
    static const char* const keys[3] = {"VoxelGridDimX", "VoxelGridDimY", "VoxelGridDimZ"};
    for (int i = 0; i < numText; i++)
        for (int k = 0; k < 3; k++)
            if (text[i].key && strcmp(text[i].key, keys[k]) == 0) dim[k] = parseDimension(text[i].text ? text[i].text : "");

    if (dim[0] == 0 || dim[1] == 0 || dim[2] == 0) png_error(png, "no voxel grid dimensions in PNG");
    // Sizes beyond a signed 32-bit value cannot describe any image; products
    // are formed in 64 bits from values below 2^32, so they cannot wrap.
    if (dim[0] > 0x7FFFFFFF || dim[1] > 0x7FFFFFFF || dim[2] > 0x7FFFFFFF || dim[0] * dim[2] != width ||
        dim[1] != height)
        png_error(png, "voxel and PNG image size mismatch");
    if (png_get_bit_depth(png, info) != 8 || png_get_channels(png, info) != 4)
        png_error(png, "expected four 8-bit channels in PNG");

    int sx = (int)dim[0], sy = (int)dim[1], sz = (int)dim[2];
    png_bytepp rows = png_get_rows(png, info);

    uint32_t palette[256];
    palette[0] = 0;
    int count = 1;
    for (int r = 0; r < sy; r++) {
        const png_byte* row = rows[r];
        for (int c = 0; c < (int)width; c++) {
            uint32_t px;
            memcpy(&px, row + 4 * c, 4);  // B, G, R, A in memory: ARGB little-endian
            if (findColor(palette, count, px) < count) continue;
            if (count == 256) png_error(png, "too many colors in PNG voxel image");
            palette[count++] = px;
        }
    }

    VoxelSprite* s = newSprite(sx, sy, sz, count);
    memcpy(s->palette, palette, (size_t)count * sizeof(uint32_t));
    for (int r = 0; r < sy; r++) {
        const png_byte* row = rows[r];
        int y = sy - 1 - r;
        for (int c = 0; c < (int)width; c++) {
            uint32_t px;
            memcpy(&px, row + 4 * c, 4);
            int i = findColor(palette, count, px);
            ASSERT(i<count);
            int x = c % sx, z = c / sx;
            s->voxels[((size_t)z * sy + y) * sx + x] = (uint8_t)i;
        }
    }
    return s;
}

VoxelSprite* loadVoxelSprite(const char* fileName) {
    char path[QZ_MAX_PATH];
    resolveAppFile(path, fileName);
    FILE* fp = fopen(path, "rb");
    if (!fp) return nullptr;

    // The installed decoder's own version string: creation refuses any other.
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (!png) {
        fclose(fp);
        return nullptr;
    }
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        fclose(fp);
        return nullptr;
    }
    png_set_user_limits(png, MAX_SPRITE_IMAGE_WIDTH, MAX_SPRITE_IMAGE_HEIGHT);

    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        fclose(fp);
        return nullptr;
    }
    VoxelSprite* s = readSprite(png, info, fp);

    png_destroy_read_struct(&png, &info, nullptr);
    fclose(fp);
    logMessage("voxel PNG from '%s' ok", fileName);
    return s;
}

//---------------------------------------------------------------------------
// Cutting from the level
//---------------------------------------------------------------------------

VoxelSprite* cutVoxelSprite(const VoxelLevelView& level, int x0, int y0, int z0, int x1, int y1, int z1) {
    int nx = x1 - x0 + 1, ny = y1 - y0 + 1, nz = z1 - z0 + 1;
    ASSERT(nx>0 && ny>0 && nz>0);
    // Layers are not wrapped; reading past the last one would leave the grid.
    ASSERT(z0>=0 && z1<level.depth);
    VoxelSprite* s = newSprite(nx, ny, nz, 256);
    memcpy(s->palette, level.palette, 256 * sizeof(uint32_t));
    uint8_t* out = s->voxels;
    for (int z = z0; z <= z1; z++)
        for (int y = y0; y <= y1; y++) {
            const uint8_t* row = level.cells + (size_t)(y & 255) * 4096 + (size_t)z * 4096 * 256;
            for (int x = x0; x <= x1; x++) *out++ = row[x & 4095];
        }
    return s;
}
