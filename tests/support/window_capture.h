// window_capture: a shell command's output, and the pixels of an X window as
// the X server shows them (read with xwd), for tests that drive the real
// programs under the test's X display.
#pragma once
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

inline std::string runCommand(const std::string& cmd) {
    std::string out;
    FILE* p = popen(cmd.c_str(), "r");
    if (!p) return out;
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
    pclose(p);
    return out;
}

struct Capture {
    int width = 0, height = 0;
    std::vector<uint32_t> rgb;  // 0x00RRGGBB, rows top to bottom

    uint32_t at(int x, int y) const { return rgb[(size_t)y * width + x]; }
};

inline uint32_t maskedChannel(uint32_t v, uint32_t mask) {
    if (!mask) return 0;
    int shift = 0;
    while (!((mask >> shift) & 1)) shift++;
    return (v & mask) >> shift;
}

// The window's client pixels; false when xwd gives no 32-bit image.
inline bool captureWindow(unsigned long window, Capture* out) {
    std::string xwd = runCommand("xwd -silent -id " + std::to_string(window) + " 2>/dev/null");
    if (xwd.size() < 100) return false;
    auto field = [&](int i) {
        const unsigned char* p = (const unsigned char*)xwd.data() + 4 * i;
        return (uint32_t)p[0] << 24 | (uint32_t)p[1] << 16 | (uint32_t)p[2] << 8 | p[3];
    };
    uint32_t headerSize = field(0), format = field(2), width = field(4), height = field(5);
    uint32_t byteOrder = field(7), bpp = field(11), bytesPerLine = field(12);
    uint32_t rmask = field(14), gmask = field(15), bmask = field(16), ncolors = field(19);
    if (format != 2 || bpp != 32 || width == 0 || height == 0 || width > 8192 || height > 8192) return false;
    size_t start = headerSize + (size_t)ncolors * 12;
    if (xwd.size() < start + (size_t)bytesPerLine * height) return false;
    out->width = (int)width;
    out->height = (int)height;
    out->rgb.resize((size_t)width * height);
    for (uint32_t y = 0; y < height; y++)
        for (uint32_t x = 0; x < width; x++) {
            const unsigned char* p = (const unsigned char*)xwd.data() + start + (size_t)y * bytesPerLine + 4 * x;
            uint32_t v = byteOrder == 0 ? (uint32_t)p[0] | p[1] << 8 | p[2] << 16 | (uint32_t)p[3] << 24
                                        : (uint32_t)p[3] | p[2] << 8 | p[1] << 16 | (uint32_t)p[0] << 24;
            out->rgb[(size_t)y * width + x] =
                maskedChannel(v, rmask) << 16 | maskedChannel(v, gmask) << 8 | maskedChannel(v, bmask);
        }
    return true;
}
