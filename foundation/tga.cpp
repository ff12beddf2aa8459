#include "tga.h"
#include <climits>
#include <cstring>

void readTga(InputStream& in, int& width, int& height, DynArray<uint32_t>& pixels) {
    uint8_t h[18];
    in.readExact(h, 18);
    if (h[2] != 2 || h[16] != 32) throw InputStream::Exception("unsupported TGA format", in.tell());
    int w = h[12] | (h[13] << 8);
    int ht = h[14] | (h[15] << 8);
    if (w == 0 || ht == 0) throw InputStream::Exception("zero-sized TGA image", in.tell());

    // A header may claim up to 65535 x 65535 pixels (16 GiB); refuse what the
    // stream cannot hold before allocating for it.
    int64_t bytes = (int64_t)w * ht * 4;
    int pos = in.tell();
    in.seekEnd(0);
    int end = in.tell();
    in.seekSet(pos);
    if (bytes > INT_MAX || bytes > (int64_t)end - pos) {
        in.seekSet(end);
        throw InputStream::Exception("error reading file", end);
    }

    width = w;
    height = ht;
    pixels.resize(w * ht);
    in.readExact(pixels.data, (int)bytes);
}

bool readTgaFile(const char* name, int& width, int& height, DynArray<uint32_t>& pixels) {
    char path[QZ_MAX_PATH];
    resolveAppFile(path, name);
    FileInputStream in(path, "rb");
    if (!in.file) return false;
    try {
        readTga(in, width, height, pixels);
    } catch (const InputStream::Exception&) {
        in.close();
        return false;
    }
    in.close();
    return true;
}

void writeTga(OutputStream& out, const void* pixels, int width, int height, int pitch) {
    uint8_t h[18];
    memset(h, 0, sizeof h);
    h[2] = 2;
    h[12] = (uint8_t)(width & 0xFF);
    h[13] = (uint8_t)(width >> 8);
    h[14] = (uint8_t)(height & 0xFF);
    h[15] = (uint8_t)(height >> 8);
    h[16] = 32;
    h[17] = 0x08;
    out.writeExact(h, 18);
    const uint8_t* base = (const uint8_t*)pixels;
    for (int y = height - 1; y >= 0; y--) out.writeExact(base + (size_t)y * pitch, width * 4);
}

bool writeTgaFile(const char* name, const void* pixels, int width, int height, int pitch) {
    char path[QZ_MAX_PATH];
    resolveAppFile(path, name);
    FileOutputStream out(path, "wb");
    if (!out.file) return false;
    try {
        writeTga(out, pixels, width, height, pitch);
    } catch (const OutputStream::Exception&) {
        out.close();
        return false;
    }
    // A full disk may only show when the buffered tail is written out.
    return out.close();
}
