// make_icon: turns the icon source (palette lines and a 16 x 16 character
// grid) into the 32 x 32 program icon both programs set on their windows,
// or into a square PNG of a given size for the desktop's menus.
//
//   make_icon icon.txt icon.tga          32 x 32 TGA
//   make_icon icon.txt OUT.png SIZE      SIZE x SIZE PNG (a multiple of 16)
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>
#include "png_write.h"
#include "tga.h"

enum { Cells = 16, TgaSize = 32 };

// The grid's colours, row 0 at the top; false after reporting a bad source.
static bool readIcon(const char* path, uint32_t cells[Cells][Cells]) {
    FILE* in = fopen(path, "r");
    if (!in) {
        perror(path);
        return false;
    }
    uint32_t colour[256] = {};  // '.' and unknown characters stay transparent
    char line[256];
    int row = 0, lineNo = 0;
    while (fgets(line, sizeof line, in)) {
        lineNo++;
        line[strcspn(line, "\r\n")] = 0;
        if (line[0] == '#' && line[1] == ' ') continue;
        if (line[0] == 'c' && line[1] == ' ' && line[2] && line[3] == ' ') {
            colour[(unsigned char)line[2]] = 0xFF000000u | (uint32_t)strtoul(line + 4, nullptr, 16);
            continue;
        }
        if (!line[0]) continue;
        if ((int)strlen(line) != Cells || row >= Cells) {
            fprintf(stderr, "%s:%d: the grid is 16 rows of 16 characters\n", path, lineNo);
            fclose(in);
            return false;
        }
        for (int x = 0; x < Cells; x++) cells[row][x] = colour[(unsigned char)line[x]];
        row++;
    }
    fclose(in);
    if (row != Cells) {
        fprintf(stderr, "%s: the grid is 16 rows of 16 characters\n", path);
        return false;
    }
    return true;
}

int main(int argc, char** argv) {
    if (argc != 3 && argc != 4) {
        fprintf(stderr, "usage: make_icon icon.txt icon.tga | make_icon icon.txt OUT.png SIZE\n");
        return 2;
    }
    int size = argc == 4 ? atoi(argv[3]) : TgaSize;
    if (size < Cells || size > 1024 || size % Cells) {
        fprintf(stderr, "make_icon: the size must be a multiple of 16 up to 1024\n");
        return 2;
    }
    uint32_t cells[Cells][Cells];
    if (!readIcon(argv[1], cells)) return 1;
    // Each cell a square block of pixels: the icon is pixel art.
    int zoom = size / Cells;
    std::vector<uint32_t> picture((size_t)size * size);
    for (int y = 0; y < size; y++)
        for (int x = 0; x < size; x++) picture[(size_t)y * size + x] = cells[y / zoom][x / zoom];
    bool ok = argc == 4 ? writeRgbaPng(argv[2], picture.data(), size, size)
                        : writeTgaFile(argv[2], picture.data(), size, size, size * 4);
    if (!ok) {
        fprintf(stderr, "can't write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
