// perf_overlay: graphs and figures of the main loop's statistics.
#include "perf_overlay.h"
#include <cmath>
#include "device.h"
#include "font.h"
#include "main_loop.h"
#include "qz_utils.h"

bool perfOverlayOn;

enum { Bars = FrameStatsEntries };

static uint32_t ageColour(float t, bool over) {
    uint32_t c = (uint32_t)lrintf(0.5f * t * 255.0f);
    return 0xFF000000u | (over ? c << 16 : c << 8);
}

void drawStatGraph(const int32_t* ring, int position, int32_t reference, int32_t threshold, bool rightSide) {
    int W = deviceWidth(), H = deviceHeight();
    int bw = W / 400 > 2 ? W / 400 : 2;
    int gh = H / 4;
    int x0 = rightSide ? W - Bars * bw : 0;
    int64_t fullScale = 2 * (int64_t)reference;
    fillRect(x0, 0, x0 + Bars * bw, gh, 0x40000000);
    if (fullScale >= threshold) fillRect(x0, 0, x0 + Bars * bw, (int)(threshold * (int64_t)gh / fullScale), 0x20008000);

    int32_t max = ring[0];
    for (int i = 1; i < Bars; i++)
        if (ring[i] > max) max = ring[i];
    bool labelled = false;
    for (int i = 0; i < Bars; i++) {
        int x = x0 + bw / 2 + 1 + i * bw;
        int32_t v = ring[i];
        int64_t height = fullScale > 0 ? (int64_t)v * gh / fullScale : gh;
        if (height > gh) height = gh;
        float t = (float)(((i - position) % Bars + Bars) % Bars) / (float)Bars;
        fillRect(x, 0, x + bw - 1, (int)height, ageColour(t, v >= threshold));
        if (!labelled && v == max) {
            labelled = true;
            FixedString<16> label;
            label.format("%d", v);
            int y = (int)height > gh / 2 ? (int)height : gh / 2;
            drawText(label, -1, x + (bw - 2) / 2, y, rightSide ? 1 : -1, -1, 0xFFFFFFFF);
        }
    }
}

struct RingFigures {
    int32_t max, min, average;
};

static RingFigures figuresOf(const int32_t* ring) {
    int64_t sum = 0;
    RingFigures f = {ring[0], ring[0], 0};
    for (int i = 0; i < Bars; i++) {
        if (ring[i] > f.max) f.max = ring[i];
        if (ring[i] < f.min) f.min = ring[i];
        sum += ring[i];
    }
    f.average = (int32_t)((sum + 100) / 200);
    return f;
}

void drawPerfOverlay() {
    const uint32_t white = 0xFFFFFFFF;
    int W = deviceWidth(), H = deviceHeight();
    int h = fontCellHeight;
    pushTextState();
    textState.lineSpacing = 0;
    textState.charSpacing = 0;
    textState.fontScale = H / (h * 40) > 1 ? H / (h * 40) : 1;
    int s = textState.fontScale;

    int32_t P = (int32_t)stepLengthUs();
    drawStatGraph(frameStats.frameTimeRing, frameStats.framePosition, P, P, true);
    drawStatGraph(frameStats.updateTimeRing, frameStats.updatePosition, P / 100, P, false);
    fillRect(W - 12 * h * s, H - 14 * h * s, W, H, 0x40000000);

    RingFigures frame = figuresOf(frameStats.frameTimeRing);
    RingFigures update = figuresOf(frameStats.updateTimeRing);
    RingFigures gpu = figuresOf(frameStats.gpuLoadRing);

    // y at n lines below the top; halves are whole halves of the cell height.
    auto line = [&](int twiceN) { return H - (twiceN / 2 * h + (twiceN % 2) * (h / 2)) * s; };
    int labelX = W - 11 * h * s;
    FixedString<32> v;
    auto value = [&](int twiceN, const char* fmt, int number) {
        v.format(fmt, number);
        drawText(v, -1, W, line(twiceN), 1, 1, white);
    };
    value(0, "%d", framesPerSecond);
    drawText("FPS", -1, labelX, H, -1, 1, white);
    drawText("frame\ntime", -1, labelX, line(6), -1, 0, white);
    value(3, "%02d", frame.max);
    value(5, "%02d", frame.average);
    value(7, "%02d", frame.min);
    drawText("update\ntime", -1, labelX, line(13), -1, 0, white);
    value(10, "%02d", update.max);
    value(12, "%02d", update.average);
    value(14, "%02d", update.min);
    drawText("tex\nmem", -1, labelX, line(18), -1, 0, white);
    value(17, "%3d MB", (int)(availableTextureMemory() >> 20));
    if (gpu.max >= 0) {
        drawText("GPU\nload", -1, labelX, line(23), -1, 0, white);
        value(20, "%3d%%", gpu.max);
        value(22, "%3d%%", gpu.average);
        value(24, "%3d%%", gpu.min);
    }
    popTextState();
}
