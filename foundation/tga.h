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
// writeTga to resolveAppFile(name), whole or not at all (atomic_file.h):
// replaces a regular file of that name, and a failure (errno says why)
// leaves nothing behind.
bool writeTgaFile(const char* name, const void* pixels, int width, int height, int pitch);
// The same, but never replacing a file: written under name when that is
// free, else under the first free of name with "_2", "_3", … before its
// extension. usedName gets the name written, in name's form.
bool writeNewTgaFile(const char* name, const void* pixels, int width, int height, int pitch, char* usedName,
                     int usedNameSize);
