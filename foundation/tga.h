// tga: uncompressed 32-bit true-colour TGA images, the only flavour read or
// written. Pixels are ARGB words (BGRA bytes), rows in file order.
#pragma once
#include <cstdint>
#include "qz_dynArray.h"
#include "streams.h"

// Reads header and pixels; throws InputStream::Exception on a format error,
// on truncated data, and before allocating for pixel data the stream cannot hold.
void readTga(InputStream& in, int& width, int& height, DynArray<uint32_t>& pixels);
// resolveAppFile(name), then readTga; false on any failure, nothing logged.
bool readTgaFile(const char* name, int& width, int& height, DynArray<uint32_t>& pixels);

// Writes a top-down source (rows `pitch` bytes apart) as a bottom-up TGA.
void writeTga(OutputStream& out, const void* pixels, int width, int height, int pitch);
bool writeTgaFile(const char* name, const void* pixels, int width, int height, int pitch);
