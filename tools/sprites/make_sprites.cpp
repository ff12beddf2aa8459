// make_sprites: turns the readable sprite definitions under data/sprites/
// into voxel sprite PNGs (8-bit RGBA, Z slices side by side, with the
// "VoxelGridDimX/Y/Z" text keys).
//
// Usage: make_sprites OUTPUT_DIR DEFINITION...   writes OUTPUT_DIR/<name>.png
//
// Definition lines ('#' starts a comment):
//   size X Y Z                  grid size; must come first
//   color C AARRGGBB            one-character colour name ('.' means empty)
//   box C x0 y0 z0 x1 y1 z1     inclusive box of colour C
//   side x0 x1                  then Y rows, top row first, of Z characters:
//                               a figure's side as seen on screen facing
//                               right (leftmost character = back, z = Z-1;
//                               rightmost = front, z = 0), repeated over
//                               depths x0..x1
//   front z0 z1                 then Y rows, top first, of X characters
//                               (x = column), repeated over layers z0..z1
// Characters '.' and ' ' in art rows leave voxels as they are.
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>
#include "png_write.h"

struct Grid {
    int sx = 0, sy = 0, sz = 0;
    std::vector<uint32_t> cells;  // 0xAARRGGBB, 0 = empty; (z * sy + y) * sx + x
    uint32_t colors[256] = {};
    bool named[256] = {};
};

[[noreturn]] static void fail(const char* file, int line, const char* what) {
    fprintf(stderr, "%s:%d: %s\n", file, line, what);
    exit(1);
}

static void set(Grid& g, int x, int y, int z, uint32_t c, const char* file, int line) {
    if (x < 0 || y < 0 || z < 0 || x >= g.sx || y >= g.sy || z >= g.sz) fail(file, line, "voxel outside the grid");
    g.cells[((size_t)z * g.sy + y) * g.sx + x] = c;
}

static uint32_t colorOf(Grid& g, unsigned char ch, const char* file, int line) {
    if (!g.named[ch]) fail(file, line, "unknown colour");
    return g.colors[ch];
}

static Grid parse(const char* file) {
    FILE* f = fopen(file, "r");
    if (!f) {
        fprintf(stderr, "%s: %s\n", file, strerror(errno));
        exit(1);
    }
    std::vector<std::string> lines;
    char buf[1024];
    while (fgets(buf, sizeof buf, f)) {
        std::string s(buf);
        while (!s.empty() && (s.back() == '\n' || s.back() == '\r')) s.pop_back();
        lines.push_back(s);
    }
    fclose(f);

    Grid g;
    for (size_t i = 0; i < lines.size(); i++) {
        int line = (int)i + 1;
        std::string s = lines[i];
        size_t hash = s.find('#');
        if (hash != std::string::npos) s.resize(hash);
        char cmd[32] = "", name = 0;
        if (sscanf(s.c_str(), "%31s", cmd) != 1) continue;
        if (!strcmp(cmd, "size")) {
            if (sscanf(s.c_str(), "%*s %d %d %d", &g.sx, &g.sy, &g.sz) != 3 || g.sx < 1 || g.sy < 1 || g.sz < 1 ||
                g.sx > 256 || g.sy > 256 || g.sz > 256)
                fail(file, line, "bad size");
            g.cells.assign((size_t)g.sx * g.sy * g.sz, 0);
        } else if (g.cells.empty()) {
            fail(file, line, "size must come first");
        } else if (!strcmp(cmd, "color")) {
            unsigned c;
            if (sscanf(s.c_str(), "%*s %c %x", &name, &c) != 2 || name == '.') fail(file, line, "bad color");
            if (c == 0) fail(file, line, "colour 0 is the empty voxel");
            g.colors[(unsigned char)name] = c;
            g.named[(unsigned char)name] = true;
        } else if (!strcmp(cmd, "box")) {
            int a[6];
            if (sscanf(s.c_str(), "%*s %c %d %d %d %d %d %d", &name, a, a + 1, a + 2, a + 3, a + 4, a + 5) != 7)
                fail(file, line, "bad box");
            uint32_t c = colorOf(g, (unsigned char)name, file, line);
            for (int z = a[2]; z <= a[5]; z++)
                for (int y = a[1]; y <= a[4]; y++)
                    for (int x = a[0]; x <= a[3]; x++) set(g, x, y, z, c, file, line);
        } else if (!strcmp(cmd, "side") || !strcmp(cmd, "front")) {
            bool side = !strcmp(cmd, "side");
            int d0, d1;
            if (sscanf(s.c_str(), "%*s %d %d", &d0, &d1) != 2) fail(file, line, "bad art header");
            int width = side ? g.sz : g.sx;
            for (int r = 0; r < g.sy; r++) {
                if (++i >= lines.size()) fail(file, line, "art ends early");
                const std::string& row = lines[i];
                if ((int)row.size() != width) fail(file, (int)i + 1, "art row has the wrong length");
                int y = g.sy - 1 - r;
                for (int k = 0; k < width; k++) {
                    unsigned char ch = (unsigned char)row[k];
                    if (ch == '.' || ch == ' ') continue;
                    uint32_t c = colorOf(g, ch, file, (int)i + 1);
                    for (int d = d0; d <= d1; d++) {
                        if (side) set(g, d, y, g.sz - 1 - k, c, file, (int)i + 1);
                        else set(g, k, y, d, c, file, (int)i + 1);
                    }
                }
            }
        } else {
            fail(file, line, "unknown command");
        }
    }
    if (g.cells.empty()) fail(file, 1, "no size");
    return g;
}

// Z slices side by side, the top row of the grid first.
static bool writePng(const char* path, const Grid& g) {
    int width = g.sx * g.sz, height = g.sy;
    std::vector<uint32_t> image((size_t)width * height);
    for (int r = 0; r < height; r++) {
        int y = g.sy - 1 - r;
        for (int c = 0; c < width; c++)
            image[(size_t)r * width + c] = g.cells[((size_t)(c / g.sx) * g.sy + y) * g.sx + c % g.sx];
    }
    char dims[3][16];
    snprintf(dims[0], sizeof dims[0], "%d", g.sx);
    snprintf(dims[1], sizeof dims[1], "%d", g.sy);
    snprintf(dims[2], sizeof dims[2], "%d", g.sz);
    PngTextKey keys[3] = {{"VoxelGridDimX", dims[0]}, {"VoxelGridDimY", dims[1]}, {"VoxelGridDimZ", dims[2]}};
    return writeRgbaPng(path, image.data(), width, height, keys, 3);
}

int main(int argc, char** argv) {
    if (argc < 3) {
        fprintf(stderr, "usage: make_sprites OUTPUT_DIR DEFINITION...\n");
        return 2;
    }
    for (int i = 2; i < argc; i++) {
        Grid g = parse(argv[i]);
        std::string base = argv[i];
        size_t slash = base.find_last_of('/');
        if (slash != std::string::npos) base = base.substr(slash + 1);
        size_t dot = base.find_last_of('.');
        if (dot != std::string::npos) base.resize(dot);
        std::string out = std::string(argv[1]) + "/" + base + ".png";
        if (!writePng(out.c_str(), g)) {
            fprintf(stderr, "can't write %s\n", out.c_str());
            return 1;
        }
    }
    return 0;
}
