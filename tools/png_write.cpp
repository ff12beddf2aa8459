#include "png_write.h"
#include <png.h>
#include <cstdio>
#include <vector>

bool writeRgbaPng(const char* path, const uint32_t* pixels, int width, int height, const PngTextKey* keys,
                  int keyCount) {
    FILE* f = fopen(path, "wb");
    if (!f) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        fclose(f);
        return false;
    }
    png_init_io(png, f);
    png_set_IHDR(png, info, (png_uint_32)width, (png_uint_32)height, 8, PNG_COLOR_TYPE_RGBA, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    std::vector<png_text> text((size_t)keyCount);
    for (int k = 0; k < keyCount; k++) {
        text[k] = {};
        text[k].compression = PNG_TEXT_COMPRESSION_NONE;
        text[k].key = (png_charp)keys[k].key;
        text[k].text = (png_charp)keys[k].text;
    }
    if (keyCount > 0) png_set_text(png, info, text.data(), keyCount);
    png_write_info(png, info);

    std::vector<png_byte> row((size_t)width * 4);
    for (int y = 0; y < height; y++) {
        const uint32_t* src = pixels + (size_t)y * width;
        for (int x = 0; x < width; x++) {
            png_byte* p = &row[(size_t)x * 4];
            p[0] = (png_byte)(src[x] >> 16);
            p[1] = (png_byte)(src[x] >> 8);
            p[2] = (png_byte)src[x];
            p[3] = (png_byte)(src[x] >> 24);
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return fclose(f) == 0;
}
