// launcher: the program the player starts first. One window with one GUI
// screen drawn in software; stores the options as "flags" and starts the game.
//
// Play saves the options, starts "game" beside the launcher and ends the
// process; Quit saves and ends; closing the window ends without saving.
#pragma once
#include <cstdint>
#include "gui.h"
#include "qz_dynArray.h"

// Handles the commands that bubble up from the buttons to the root.
struct LauncherHandler : GuiEventHandler {
    LauncherHandler() : GuiEventHandler(GuiEvCommand) {}
    // Play and Quit never return: the screen that sent the command is gone
    // by the time the process ends.
    int32_t handle(GuiEvent& event, GuiBox* box, int mode) override;
};

// The window's back buffer, rows top to bottom.
struct ScreenBuffer {
    DynArray<uint32_t> pixels;
    int32_t width = 0, height = 0;
};

// The program entry; returns the process exit code.
int launcherMain();
// Options from "flags", the font, the behaviours and the screen.
void launcherInit();
// Runs until the window is closed, never sleeping.
void launcherLoop();
// Sizes of 0 or less become 1; new pixels are 0.
void resizeScreenBuffer(int32_t w, int32_t h);
// Lays out again when the client size changed, draws and copies to the window.
void paintWindow();
// Releases the screen, the buffer, queued input and the window; safe to
// call more than once and from the fatal-error path.
void launcherShutdown();

