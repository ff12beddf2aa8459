// make_icon: turns the icon source (palette lines and a 16 x 16 character
// grid) into the 32 x 32 program icon both programs set on their windows.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include "tga.h"

enum { Cells = 16, Zoom = 2, Size = Cells * Zoom };

int main(int argc, char** argv) {
    if (argc != 3) {
        fprintf(stderr, "usage: make_icon icon.txt icon.tga\n");
        return 2;
    }
    FILE* in = fopen(argv[1], "r");
    if (!in) {
        perror(argv[1]);
        return 1;
    }
    uint32_t colour[256] = {};  // '.' and unknown characters stay transparent
    static uint32_t picture[Size][Size];
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
            fprintf(stderr, "%s:%d: the grid is 16 rows of 16 characters\n", argv[1], lineNo);
            return 1;
        }
        for (int x = 0; x < Cells; x++)
            for (int dy = 0; dy < Zoom; dy++)
                for (int dx = 0; dx < Zoom; dx++)
                    picture[row * Zoom + dy][x * Zoom + dx] = colour[(unsigned char)line[x]];
        row++;
    }
    fclose(in);
    if (row != Cells) {
        fprintf(stderr, "%s: the grid is 16 rows of 16 characters\n", argv[1]);
        return 1;
    }
    if (!writeTgaFile(argv[2], picture, Size, Size, Size * 4)) {
        fprintf(stderr, "can't write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
