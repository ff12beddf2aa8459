// png_write: one 8-bit RGBA PNG file from ARGB words, for the generators.
#pragma once
#include <cstdint>

struct PngTextKey {
    const char* key;
    const char* text;
};

// pixels: width x height ARGB words, rows top to bottom. Text keys are
// written uncompressed before the image. False when the file cannot be written.
bool writeRgbaPng(const char* path, const uint32_t* pixels, int width, int height, const PngTextKey* keys = nullptr,
                  int keyCount = 0);
