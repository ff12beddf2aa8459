#include "tga.h"
#include <climits>
#include <cerrno>
#include <cstring>
#include "atomic_file.h"

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

// The header, then the rows bottom-up, each through put(bytes, n); false
// as soon as put fails.
template <typename Put>
static bool putTga(Put put, const void* pixels, int width, int height, int pitch) {
    uint8_t h[18];
    memset(h, 0, sizeof h);
    h[2] = 2;
    h[12] = (uint8_t)(width & 0xFF);
    h[13] = (uint8_t)(width >> 8);
    h[14] = (uint8_t)(height & 0xFF);
    h[15] = (uint8_t)(height >> 8);
    h[16] = 32;
    h[17] = 0x08;
    if (!put(h, 18)) return false;
    const uint8_t* base = (const uint8_t*)pixels;
    for (int y = height - 1; y >= 0; y--)
        if (!put(base + (size_t)y * pitch, width * 4)) return false;
    return true;
}

void writeTga(OutputStream& out, const void* pixels, int width, int height, int pitch) {
    putTga(
        [&](const void* b, int n) {
            out.writeExact(b, n);
            return true;
        },
        pixels, width, height, pitch);
}

// name with "_n" before its extension (n > 1), else name itself.
static void numberedName(char* out, int outSize, const char* name, int n) {
    const char* slash = strrchr(name, '/');
    const char* dot = strrchr(slash ? slash : name, '.');
    if (n <= 1) snprintf(out, (size_t)outSize, "%s", name);
    else if (!dot) snprintf(out, (size_t)outSize, "%s_%d", name, n);
    else snprintf(out, (size_t)outSize, "%.*s_%d%s", (int)(dot - name), name, n, dot);
}

// The file part of name joined to its folder as resolveAppFile finds it.
static void pathIn(char* out, const char* folder, const char* name) {
    const char* slash = strrchr(name, '/');
    snprintf(out, QZ_MAX_PATH, "%s%s", folder, slash ? slash + 1 : name);
}

// Writes the image to name, replacing it, or with usedName to the first
// free numbered name. errno survives the clean-up for the caller.
static bool writeTgaAtomically(const char* name, const void* pixels, int width, int height, int pitch,
                               char* usedName, int usedNameSize) {
    // Every name is joined to one resolved folder, so the temporary and
    // each name tried lie side by side.
    char folder[QZ_MAX_PATH], path[QZ_MAX_PATH];
    const char* slash = strrchr(name, '/');
    snprintf(path, sizeof path, "%.*s", slash ? (int)(slash - name) + 1 : 0, name);
    resolveAppFile(folder, path[0] ? path : nullptr);
    pathIn(path, folder, name);
    AtomicFile f;
    bool ok = beginAtomicFile(f, path, 0644) &&
              putTga([&](const void* b, int n) { return writeAtomicFile(f, b, n); }, pixels, width, height, pitch);
    if (ok && !usedName) ok = commitAtomicFile(f);
    for (int n = 1; ok && usedName; n++) {
        numberedName(usedName, usedNameSize, name, n);
        pathIn(path, folder, usedName);
        if (commitNewAtomicFile(f, path)) break;
        if (errno != EEXIST || n == 9999) ok = false;
    }
    int error = errno;
    abortAtomicFile(f);
    errno = error;
    return ok;
}

bool writeTgaFile(const char* name, const void* pixels, int width, int height, int pitch) {
    return writeTgaAtomically(name, pixels, width, height, pitch, nullptr, 0);
}

bool writeNewTgaFile(const char* name, const void* pixels, int width, int height, int pitch, char* usedName,
                     int usedNameSize) {
    return writeTgaAtomically(name, pixels, width, height, pitch, usedName, usedNameSize);
}
