// The TGA reader and the launcher's font cutting on arbitrary bytes. A read
// image has the header's size and exactly its pixel bytes; written back and
// read again it comes back with its rows in reverse order (the writer takes
// a top-down image). A font cut from it has every glyph inside its own cell,
// and drawing every character stays inside the target.
#include <vector>
#include "fuzz_support.h"
#include "swrender.h"
#include "tga.h"

static bool knownMessage(const char* m) {
    return !strcmp(m, "unsupported TGA format") || !strcmp(m, "zero-sized TGA image") ||
           !strcmp(m, "error reading file") || !strcmp(m, "file seek error");
}

static void checkFont(const DynArray<uint32_t>& pixels, int w, int h) {
    SoftwareFont* f = new SoftwareFont();
    f->pixels.append(pixels.num, pixels.data);
    if (!cutSoftwareFont(f, w, h)) {
        FUZZ_CHECK(w % 16 != 0 || h % 16 != 0);
        delete f;
        return;
    }
    int cw = w / 16, ch = h / 16;
    for (int k = 0; k < 256; k++) {
        const int32_t* g = f->glyphs[k];
        int cx = (k % 16) * cw, cy = (15 - k / 16) * ch;
        FUZZ_CHECK(g[GlyphX0] >= cx && g[GlyphX0] < g[GlyphX1] && g[GlyphX1] <= cx + cw);
        FUZZ_CHECK(g[GlyphY0] == cy && g[GlyphY1] == cy + ch);
    }
    // Drawing reads the sheet and writes the target: the sanitizers watch both.
    SoftwareGuiRenderer ren;
    ren.fonts.push(f);
    ren.setFont(f);
    std::vector<uint32_t> target(48 * 32, 0);
    ren.setTarget(target.data(), 48 * 4, 48, 32);
    char all[256];
    for (int i = 0; i < 256; i++) all[i] = (char)i;
    for (int scale = 1; scale <= 2; scale++) ren.drawText(all, 256, 3, 5, -1, -1, 0xFFFFFFFF, scale);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    MemoryInputStream in(data, size);
    int w = 0, h = 0;
    DynArray<uint32_t> pixels;
    try {
        readTga(in, w, h, pixels);
    } catch (const InputStream::Exception& e) {
        FUZZ_CHECK(knownMessage(e.message));
        return 0;
    }
    FUZZ_CHECK(size >= 18 && data[2] == 2 && data[16] == 32);
    FUZZ_CHECK(w == (data[12] | data[13] << 8) && h == (data[14] | data[15] << 8) && w > 0 && h > 0);
    FUZZ_CHECK(pixels.num == w * h && (size_t)w * h * 4 <= size - 18);
    FUZZ_CHECK(memcmp(pixels.data, data + 18, (size_t)w * h * 4) == 0);

    MemoryOutputStream out;
    writeTga(out, pixels.data, w, h, w * 4);
    FUZZ_CHECK(out.bytes.size() == 18 + (size_t)w * h * 4);
    MemoryInputStream again((const uint8_t*)out.bytes.data(), out.bytes.size());
    int w2 = 0, h2 = 0;
    DynArray<uint32_t> back;
    readTga(again, w2, h2, back);
    FUZZ_CHECK(w2 == w && h2 == h);
    for (int y = 0; y < h; y++)
        FUZZ_CHECK(memcmp(back.data + (size_t)y * w, pixels.data + (size_t)(h - 1 - y) * w, (size_t)w * 4) == 0);

    if ((int64_t)w * h <= 1 << 16) checkFont(pixels, w, h);
    return 0;
}
