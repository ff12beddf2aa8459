#include "screenshot.h"
#include "device_internal.h"
#include "tga.h"
#include "user_folders.h"

static DynArray<uint32_t> capture;  // kept between shots; released by releaseWindowCapture

void releaseWindowCapture() { capture.release(); }

const void* captureWindowPixels(int* width, int* height, int* pitch) {
    releaseWindowCapture();
    if (!glContext) return nullptr;

    // Clip the client area (at its place on the desktop) to the desktop.
    SDL_Rect desktop = {0, 0, 0, 0};
    int display = SDL_GetWindowDisplayIndex(device.window);
    if (SDL_GetDisplayBounds(display < 0 ? 0 : display, &desktop) != 0) return nullptr;
    int wx = 0, wy = 0;
    SDL_GetWindowPosition(device.window, &wx, &wy);
    int x0 = wx, y0 = wy, x1 = wx + device.width, y1 = wy + device.height;
    if (isFullscreen) {
        x0 = desktop.x;
        y0 = desktop.y;
        x1 = x0 + device.width;
        y1 = y0 + device.height;
    }
    int cx0 = x0 > desktop.x ? x0 : desktop.x, cy0 = y0 > desktop.y ? y0 : desktop.y;
    int cx1 = x1 < desktop.x + desktop.w ? x1 : desktop.x + desktop.w;
    int cy1 = y1 < desktop.y + desktop.h ? y1 : desktop.y + desktop.h;
    int w = cx1 - cx0, h = cy1 - cy0;
    if (w <= 0 || h <= 0) return nullptr;

    // Window rows count from the top, GL rows from the bottom.
    int left = cx0 - x0, top = cy0 - y0;
    int glBottom = device.height - (top + h);
    capture.resize(w * h);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, device.lastFrameFramebuffer);
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
    int64_t start = timerNow();
    logMessage("screenshot...");
    int w = 0, h = 0, pitch = 0;
    const void* pixels = captureWindowPixels(&w, &h, &pitch);
    if (!pixels) return;

    time_t now = time(nullptr);
    struct tm local;
    char name[64];
    screenshotFileName(name, sizeof name, localtime_r(&now, &local));

    // Beside a program run from its build folder, else in the player's pictures.
    // A folder that cannot be made is logged by name there; the game goes on.
    char path[QZ_MAX_PATH];
    bool written = false;
    if (screenshotPath(path, sizeof path, name)) {
        written = writeTgaFile(path, pixels, w, h, pitch);
        if (!written) logMessage("can't write screenshot '%s'", path);
    }
    releaseWindowCapture();
    if (!written) return;
    logMessage("screenshot captured to '%s' in %d ms", path, (int)ticksToMs(timerNow() - start));
}
