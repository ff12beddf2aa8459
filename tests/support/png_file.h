// Whole-image PNG reading and writing for test pictures: pixels are ARGB
// words (alpha in the top byte), rows top-down.
#pragma once
#include <png.h>
#include <cstdint>
#include <cstring>
#include <vector>

inline bool writePngFile(const char* path, const uint32_t* argb, int width, int height) {
    png_image image;
    memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    image.width = (png_uint_32)width;
    image.height = (png_uint_32)height;
    image.format = PNG_FORMAT_BGRA;  // ARGB words are B, G, R, A in memory
    return png_image_write_to_file(&image, path, 0, argb, width * 4, nullptr) != 0;
}

// False when the file is missing or not a PNG; *pixels then stays empty.
inline bool readPngFile(const char* path, std::vector<uint32_t>* pixels, int* width, int* height) {
    png_image image;
    memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    pixels->clear();
    if (!png_image_begin_read_from_file(&image, path)) return false;
    image.format = PNG_FORMAT_BGRA;
    pixels->resize((size_t)image.width * image.height);
    if (!png_image_finish_read(&image, nullptr, pixels->data(), (png_int_32)image.width * 4, nullptr)) {
        pixels->clear();
        return false;
    }
    *width = (int)image.width;
    *height = (int)image.height;
    return true;
}
