// make_font: turns the readable font source (glyph blocks of '#' and '.')
// into the 128 x 128 font sheet both programs read: a 16 x 16 grid of
// 8 x 8 cells, white ink on transparent black, code n in column n mod 16 and
// grid row n div 16 counted from the top of the picture.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include "tga.h"

enum { Cell = 8, Sheet = 16 * Cell };

static uint32_t picture[Sheet][Sheet];  // top-down

static void fail(const char* source, int line, const char* what) {
    fprintf(stderr, "%s:%d: %s\n", source, line, what);
    exit(1);
}

int main(int argc, char** argv) {
    if (argc != 3) {
        fprintf(stderr, "usage: make_font font.txt font.tga\n");
        return 2;
    }
    FILE* in = fopen(argv[1], "r");
    if (!in) {
        perror(argv[1]);
        return 1;
    }
    char line[256];
    int lineNo = 0, code = -1, row = 0, glyphs = 0;
    bool seen[256] = {};
    while (fgets(line, sizeof line, in)) {
        lineNo++;
        line[strcspn(line, "\r\n")] = 0;
        if (line[0] == '#' && code < 0) continue;  // comment between blocks
        if (!strncmp(line, "glyph ", 6)) {
            if (code >= 0 && row != Cell) fail(argv[1], lineNo, "previous glyph needs 8 rows");
            code = atoi(line + 6);
            if (code < 0 || code > 255) fail(argv[1], lineNo, "code out of range");
            if (seen[code]) fail(argv[1], lineNo, "glyph defined twice");
            seen[code] = true;
            row = 0;
            glyphs++;
            continue;
        }
        if (line[0] == 0) {
            if (code >= 0 && row != Cell) fail(argv[1], lineNo, "glyph needs 8 rows");
            code = -1;
            continue;
        }
        if (code < 0) fail(argv[1], lineNo, "row outside a glyph block");
        if (row >= Cell) fail(argv[1], lineNo, "more than 8 rows");
        if ((int)strlen(line) > Cell) fail(argv[1], lineNo, "row wider than 8");
        int x0 = (code % 16) * Cell, y = (code / 16) * Cell + row;
        for (int i = 0; line[i]; i++) {
            if (line[i] != '#' && line[i] != '.') fail(argv[1], lineNo, "rows hold only '#' and '.'");
            if (line[i] == '#') picture[y][x0 + i] = 0xFFFFFFFF;
        }
        row++;
    }
    fclose(in);
    if (code >= 0 && row != Cell) fail(argv[1], lineNo, "last glyph needs 8 rows");
    if (!writeTgaFile(argv[2], picture, Sheet, Sheet, Sheet * 4)) {
        fprintf(stderr, "can't write %s\n", argv[2]);
        return 1;
    }
    printf("font sheet with %d glyphs written to %s\n", glyphs, argv[2]);
    return 0;
}
