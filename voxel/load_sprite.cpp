// load_sprite: reading voxel sprite PNGs, cutting sprites out of the level
// grid, and freeing sprites.
#include <png.h>
#include <cstdio>
#include <cstring>
#include "qz_alloc.h"
#include "qz_utils.h"
#include "regular_file.h"
#include "voxel_sprite.h"

// Sprites are a few thousand voxels. These caps keep a hostile file from
// making the decoder allocate or the renderer walk more than a sprite needs:
// at most 4 MiB of decoded pixels, and no file larger than that can hold.
enum {
    MAX_SPRITE_AXIS = 256,
    MAX_SPRITE_VOXELS = 1 << 20,
    MAX_SPRITE_FILE_BYTES = 16 << 20,
    MAX_PNG_CHUNK_ALLOC = 1 << 20,  // text chunks, decompressed ones included
};

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

// Every chunk of the file must lie inside it. The decoder allocates a
// chunk's declared length before reading it, so a few bytes claiming a
// 2 GiB chunk would otherwise cost 2 GiB.
static bool chunksInsideFile(const uint8_t* data, size_t size) {
    if (size < 8 || png_sig_cmp(data, 0, 8) != 0) return true;  // not a PNG: the decoder says so
    size_t at = 8;
    while (at + 8 <= size) {
        uint32_t length = (uint32_t)data[at] << 24 | (uint32_t)data[at + 1] << 16 | (uint32_t)data[at + 2] << 8 | data[at + 3];
        if ((uint64_t)length + 12 > size - at) return false;
        bool end = memcmp(data + at + 4, "IEND", 4) == 0;
        at += 12 + (size_t)length;
        if (end) return true;
    }
    return true;  // no room for another chunk header: the decoder reports the short file
}

struct MemoryInput {
    const uint8_t* data;
    size_t size, at;
};

static void readFromMemory(png_structp png, png_bytep out, png_size_t n) {
    MemoryInput* in = (MemoryInput*)png_get_io_ptr(png);
    if (n > in->size - in->at) png_error(png, "Read Error");
    memcpy(out, in->data + in->at, n);
    in->at += n;
}

static void takeDimensions(png_structp png, png_infop info, uint64_t dim[3]) {
    png_textp text = nullptr;
    int numText = 0;
    png_get_text(png, info, &text, &numText);
    static const char* const keys[3] = {"VoxelGridDimX", "VoxelGridDimY", "VoxelGridDimZ"};
    for (int i = 0; i < numText; i++)
        for (int k = 0; k < 3; k++)
            if (text[i].key && strcmp(text[i].key, keys[k]) == 0) dim[k] = parseDimension(text[i].text ? text[i].text : "");
}

static bool tooLarge(uint64_t a, uint64_t b, uint64_t c) {
    return a > MAX_SPRITE_AXIS || b > MAX_SPRITE_AXIS || c > MAX_SPRITE_AXIS || a * b * c > MAX_SPRITE_VOXELS;
}

// What the decoder error return must free: the decoded image.
struct DecodedRows {
    uint8_t* volatile pixels;
    png_bytep* volatile rows;
};

// Everything after the decoder's error return is armed. Every refusal goes
// through png_error and never returns. The image is refused as too large
// from its header and the size keys before it, before any row is read.
static VoxelSprite* readSprite(png_structp png, png_infop info, const char* fileName, DecodedRows& decoded) {
    const MemoryInput* in = (const MemoryInput*)png_get_io_ptr(png);
    if (!chunksInsideFile(in->data, in->size)) png_error(png, "PNG chunk runs past the end of the file");
    png_read_info(png, info);
    uint64_t width = png_get_image_width(png, info);
    uint64_t height = png_get_image_height(png, info);
    uint64_t dim[3] = {0, 0, 0};
    takeDimensions(png, info, dim);
    // Width is sizeX x sizeZ and height sizeY: the header alone bounds the voxel count.
    if (height > MAX_SPRITE_AXIS || width > MAX_SPRITE_AXIS * MAX_SPRITE_AXIS || width * height > MAX_SPRITE_VOXELS ||
        tooLarge(dim[0], dim[1], dim[2])) {
        logMessage("voxel sprite too large: '%s'", fileName);
        png_error(png, "voxel sprite too large");
    }

    png_set_expand(png);
    png_set_bgr(png);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    size_t rowBytes = png_get_rowbytes(png, info);
    // Expansion gives at most 8 bytes per pixel (16-bit RGBA), refused below
    // but read first so that text after the image is seen.
    decoded.pixels = (uint8_t*)qzRealloc(nullptr, rowBytes * (size_t)height);
    decoded.rows = (png_bytep*)qzRealloc(nullptr, sizeof(png_bytep) * (size_t)height);
    ASSERT(decoded.pixels && decoded.rows);
    for (uint64_t r = 0; r < height; r++) decoded.rows[r] = decoded.pixels + r * rowBytes;
    png_read_image(png, decoded.rows);
    png_read_end(png, info);

    // Keys may follow the image; a later entry wins.
    takeDimensions(png, info, dim);
    if (tooLarge(dim[0], dim[1], dim[2])) {
        logMessage("voxel sprite too large: '%s'", fileName);
        png_error(png, "voxel sprite too large");
    }
    if (dim[0] == 0 || dim[1] == 0 || dim[2] == 0) png_error(png, "no voxel grid dimensions in PNG");
    if (dim[0] * dim[2] != width || dim[1] != height) png_error(png, "voxel and PNG image size mismatch");
    if (png_get_bit_depth(png, info) != 8 || png_get_channels(png, info) != 4)
        png_error(png, "expected four 8-bit channels in PNG");

    int sx = (int)dim[0], sy = (int)dim[1], sz = (int)dim[2];
    png_bytep* rows = decoded.rows;

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

VoxelSprite* readVoxelSprite(const uint8_t* data, size_t size, const char* fileName) {
    // The installed decoder's own version string: creation refuses any other.
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (!png) return nullptr;
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        return nullptr;
    }
    png_set_chunk_malloc_max(png, MAX_PNG_CHUNK_ALLOC);
    MemoryInput in = {data, size, 0};
    png_set_read_fn(png, &in, readFromMemory);

    DecodedRows decoded = {nullptr, nullptr};
    VoxelSprite* s = nullptr;
    if (!setjmp(png_jmpbuf(png))) s = readSprite(png, info, fileName, decoded);
    qzFree(decoded.rows);
    qzFree(decoded.pixels);
    png_destroy_read_struct(&png, &info, nullptr);
    return s;
}

VoxelSprite* loadVoxelSprite(const char* fileName) {
    char path[QZ_MAX_PATH];
    resolveAppFile(path, fileName);
    DynArray<char> bytes;
    if (!readRegularFile(path, bytes, MAX_SPRITE_FILE_BYTES)) return nullptr;
    VoxelSprite* s = readVoxelSprite((const uint8_t*)bytes.data, (size_t)bytes.num, fileName);
    if (s) logMessage("voxel PNG from '%s' ok", fileName);
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
