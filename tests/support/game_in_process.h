// The real game program started inside the test process and run one tick
// at a time: what the main loop does for a step (or a paused tick), then one
// drawn and presented frame. Keys and the pointer come through the X server
// (xdotool), pads through SDL's virtual joysticks, so the whole input path
// from the window system to the step input is the program's own.
#pragma once
#include <SDL.h>
#include <SDL_syswm.h>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include "game_app.h"
#include "game_window.h"
#include "input.h"
#include "main_loop.h"
#include "screenshot.h"
#include "temp_settings.h"
#include "tga.h"

struct GameInProcess {
    // A private settings folder first: the run stores bindings and options.
    static void start() {
        static TempSettings settings;
        const char* args[] = {"game", "-360", "-novs", "-win"};
        startGame(4, args);
        setMainLoopHost(gameLoopHost());
    }
    // draw false: the step alone, for long runs where frames cost the most.
    static void tick(bool draw = true) {
        MainLoopHost* h = gameLoopHost();
        pumpMessages();
        if (h->paused()) h->pausedTick();
        else h->step(0.05f);
        inputEndStep();
        if (draw && h->renderFrame(0.0f)) h->presentFrame();
    }
    static void ticks(int n) {
        for (int i = 0; i < n; i++) tick();
    }
    // Ticks until cond() holds; false when it still does not after limit ticks.
    template <class Cond>
    static bool tickUntil(Cond cond, int limit = 300) {
        for (int i = 0; i < limit; i++) {
            if (cond()) return true;
            tick();
        }
        return cond();
    }
    static std::string windowId() {
        SDL_SysWMinfo info;
        SDL_VERSION(&info.version);
        if (!SDL_GetWindowWMInfo(gameWindow.window, &info)) return "";
        return std::to_string((unsigned long)info.info.x11.window);
    }
    // xdotool with the game window's id where "%w" appears.
    static int xdotool(std::string args) {
        for (size_t at; (at = args.find("%w")) != std::string::npos;) args.replace(at, 2, windowId());
        return system(("xdotool " + args + " >/dev/null 2>&1").c_str());
    }
    // A left click at a window pixel.
    static void clickAt(float x, float y) {
        xdotool("mousemove --sync --window %w " + std::to_string((int)x) + " " + std::to_string((int)y));
        xdotool("click 1");
    }
    // The last presented frame as shots/<name>.tga beside the program.
    static bool saveShot(const char* name) {
        int w = 0, h = 0, pitch = 0;
        const void* pixels = captureWindowPixels(&w, &h, &pitch);
        if (!pixels) return false;
        std::error_code ignored;
        std::filesystem::create_directories("shots", ignored);
        bool ok = writeTgaFile(("shots/" + std::string(name) + ".tga").c_str(), pixels, w, h, pitch);
        releaseWindowCapture();
        return ok;
    }
};
