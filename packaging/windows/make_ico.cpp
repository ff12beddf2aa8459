// make_ico: packs PNG images into one Windows icon file (PNG-compressed
// entries, Windows Vista and later), for the programs' icon resource.
//   make_ico OUT.ico IN.png...
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

static bool readFile(const char* path, std::string& out) {
    FILE* f = fopen(path, "rb");
    if (!f) return false;
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, f)) > 0) out.append(buf, n);
    return fclose(f) == 0;
}

static void put16(std::string& s, unsigned v) {
    s += (char)(v & 255);
    s += (char)((v >> 8) & 255);
}
static void put32(std::string& s, uint32_t v) {
    put16(s, v & 0xFFFF);
    put16(s, v >> 16);
}
static uint32_t bigEndian32(const std::string& s, size_t at) {
    return (uint32_t)(uint8_t)s[at] << 24 | (uint32_t)(uint8_t)s[at + 1] << 16 | (uint32_t)(uint8_t)s[at + 2] << 8 |
           (uint8_t)s[at + 3];
}

int main(int argc, char** argv) {
    if (argc < 3) {
        fprintf(stderr, "usage: make_ico OUT.ico IN.png...\n");
        return 1;
    }
    std::vector<std::string> images;
    for (int i = 2; i < argc; i++) {
        std::string png;
        // A PNG starts with its 8-byte signature and the IHDR chunk (width, height).
        if (!readFile(argv[i], png) || png.size() < 24 || png.compare(1, 3, "PNG") != 0) {
            fprintf(stderr, "make_ico: not a PNG file: %s\n", argv[i]);
            return 1;
        }
        images.push_back(png);
    }
    std::string out;
    put16(out, 0);
    put16(out, 1);  // icon
    put16(out, (unsigned)images.size());
    uint32_t offset = 6 + 16 * (uint32_t)images.size();
    for (const std::string& png : images) {
        uint32_t w = bigEndian32(png, 16), h = bigEndian32(png, 20);
        out += (char)(w >= 256 ? 0 : w);  // 0 means 256
        out += (char)(h >= 256 ? 0 : h);
        out += (char)0;  // no palette
        out += (char)0;
        put16(out, 1);   // planes
        put16(out, 32);  // bits per pixel
        put32(out, (uint32_t)png.size());
        put32(out, offset);
        offset += (uint32_t)png.size();
    }
    for (const std::string& png : images) out += png;
    FILE* f = fopen(argv[1], "wb");
    if (!f || fwrite(out.data(), 1, out.size(), f) != out.size() || fclose(f) != 0) {
        fprintf(stderr, "make_ico: can't write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
