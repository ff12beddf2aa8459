// Drives the real launcher program from outside, as a player would: starts
// it from a private copy of its folder with a private settings folder,
// finds its window, clicks with synthetic mouse input (xdotool), reads the
// window's pixels (xwd) and closes it the way a window manager does.
// Needs an X server (the test run provides Xvfb).
#pragma once
#include <cstdint>
#include <string>
#include <sys/types.h>
#include <vector>
#include "swrender.h"

struct Capture {
    int width = 0, height = 0;
    std::vector<uint32_t> rgb;  // 0x00RRGGBB, rows top to bottom
};

// The launcher's screen laid out and drawn in this process at w x h with the
// real font and the current options: what the window must show. Boxes are
// looked up by command while it lives.
struct ReferenceScreen {
    ReferenceScreen(int w, int h);
    ~ReferenceScreen() { delete screen; }
    // Centre of the button sending command, in client pixels.
    void buttonCentre(int command, int* x, int* y);

    Capture image;
    SoftwareGuiRenderer ren;
    std::vector<uint32_t> px;
    GuiScreen* screen;
};

struct LauncherRun {
    std::string folder;     // copy of the program folder: launcher, font.tga, icon.tga
    std::string configHome; // XDG_CONFIG_HOME of the run
    std::string logPath;    // the launcher's standard output and error
    pid_t pid = 0;
    unsigned long window = 0;
    std::string program;           // what start() runs: folder/launcher unless set
    std::vector<std::string> env;  // "NAME=value" added to its environment

    // Makes the two folders; withGame adds a stand-in "game" that records
    // its pid and argument count in the file "game_started" and then sleeps.
    explicit LauncherRun(bool withGame);
    ~LauncherRun();  // ends a launcher still running and removes the folders

    std::string settingsPath() const;
    void writeSettings(const std::string& text);
    // Whole settings file, or "" when there is none.
    std::string readSettings() const;
    std::string readLog() const;

    // Starts the launcher and waits for its window; false on timeout, or
    // when it could not be started. Without waiting: false only for the latter.
    bool start(bool waitForWindow = true);
    // Pointer to client point (x, y) and a left click; a pause after it.
    void click(int x, int y);
    void movePointer(int x, int y);
    // Resizes the window and moves it to the screen's corner so all of it
    // can be captured.
    void resize(int w, int h);
    // The close message a window manager sends for the title-bar button.
    void requestClose();
    bool capture(Capture* out);
    // Size of the first image of the window's icon; false when it has none.
    bool iconSize(int* w, int* h);
    // Captures until the window equals expected, up to about five seconds.
    bool waitForImage(const Capture& expected, Capture* last);
    // Exit code once the process ended, or -1 after about five seconds.
    int waitForExit();
};

// Writes a capture as a TGA file, for looking at it.
bool saveCapture(const Capture& c, const std::string& path);
