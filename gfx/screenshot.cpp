#include "screenshot.h"
#include <cerrno>
#include <cstring>
#include "device_internal.h"
#include "platform_window.h"
#include "tga.h"
#include "user_folders.h"

static DynArray<uint32_t> capture;  // kept between shots; released by releaseWindowCapture
static bool screenshotPending;      // Print Screen was pressed; the next presented frame is saved
static int64_t screenshotStart;

void releaseWindowCapture() { capture.release(); }

const void* captureWindowPixels(int* width, int* height, int* pitch) {
    releaseWindowCapture();
    if (!glContext) return nullptr;

    // Clip the client area (at its place on the desktop) to the desktop.
    WindowRect desktop;
    if (!displayBounds(device.window, &desktop)) return nullptr;
    int wx = 0, wy = 0;
    windowPosition(device.window, &wx, &wy);
    int x0 = wx, y0 = wy, x1 = wx + device.width, y1 = wy + device.height;
    if (isFullscreen) {
        x0 = desktop.left;
        y0 = desktop.top;
        x1 = x0 + device.width;
        y1 = y0 + device.height;
    }
    int cx0 = x0 > desktop.left ? x0 : desktop.left, cy0 = y0 > desktop.top ? y0 : desktop.top;
    int cx1 = x1 < desktop.right ? x1 : desktop.right;
    int cy1 = y1 < desktop.bottom ? y1 : desktop.bottom;
    int w = cx1 - cx0, h = cy1 - cy0;
    if (w <= 0 || h <= 0) return nullptr;

    // Window rows count from the top, GL rows from the bottom.
    int left = cx0 - x0, top = cy0 - y0;
    int glBottom = device.height - (top + h);
    capture.resize(w * h);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glReadPixels(left, glBottom, w, h, GL_BGRA, GL_UNSIGNED_BYTE, capture.data);
    glBindFramebuffer(GL_FRAMEBUFFER, device.currentFramebuffer);
    if (glGetError() != GL_NO_ERROR) {
        releaseWindowCapture();
        return nullptr;
    }
    // Turn the rows top-down, as the TGA writer expects.
    for (int r = 0; r < h / 2; r++) {
        uint32_t* a = capture.data + r * w;
        uint32_t* b = capture.data + (h - 1 - r) * w;
        for (int i = 0; i < w; i++) {
            uint32_t t = a[i];
            a[i] = b[i];
            b[i] = t;
        }
    }
    *width = w;
    *height = h;
    *pitch = w * 4;
    return capture.data;
}

void screenshotFileName(char* out, size_t outSize, const struct tm* t) {
    if (!t) {
        snprintf(out, outSize, "shots/shot.tga");
        return;
    }
    snprintf(out, outSize, "shots/shot%4u_%02u_%02u_%02u_%02u_%02u.tga", (unsigned)(t->tm_year + 1900),
             (unsigned)(t->tm_mon + 1), (unsigned)t->tm_mday, (unsigned)t->tm_hour, (unsigned)t->tm_min,
             (unsigned)t->tm_sec);
}

void takeScreenshot() {
    screenshotStart = timerNow();
    logMessage("screenshot...");
    screenshotPending = true;
}

void captureScreenshotIfPending() {
    if (!screenshotPending) return;
    screenshotPending = false;
    int64_t start = screenshotStart;
    int w = 0, h = 0, pitch = 0;
    const void* pixels = captureWindowPixels(&w, &h, &pitch);
    if (!pixels) return;

    time_t now = time(nullptr);
    struct tm local;
    char name[64];
    screenshotFileName(name, sizeof name, localtime_r(&now, &local));

    // Beside a program run from its build folder, else in the player's pictures.
    // A folder that cannot be made is logged by name there; the game goes on.
    // A second shot within the same second gets a numbered name instead of
    // replacing the first; a failed one leaves no partial file.
    char path[QZ_MAX_PATH], used[QZ_MAX_PATH];
    bool written = false;
    if (screenshotPath(path, sizeof path, name)) {
        written = writeNewTgaFile(path, pixels, w, h, pitch, used, sizeof used);
        if (!written) logMessage("can't write screenshot '%s': %s", path, strerror(errno));
    }
    releaseWindowCapture();
    if (!written) return;
    logMessage("screenshot captured to '%s' in %d ms", used, (int)ticksToMs(timerNow() - start));
}
