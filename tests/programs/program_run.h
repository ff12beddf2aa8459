// Runs one of the real programs from a private copy of the program folder
// under the test's X display, and drives its window with xdotool.
#pragma once
#include <functional>
#include <string>
#include <vector>
#include "window_capture.h"

struct ProgramRun {
    std::string base;     // the run's private folder: logs, settings, copies
    std::string folder;   // private copy of build/bin, or the folder run in place
    std::string config;   // private XDG_CONFIG_HOME
    std::string logPath, errPath;
    int pid = -1;
    std::string window;   // X window id once found
    std::vector<std::string> env;  // "NAME=value" added to the program's environment

    // Copies the program and its data files (except those in `leaveOut`).
    explicit ProgramRun(const std::vector<std::string>& leaveOut = {});
    // Runs the programs where they lie in programFolder, which is neither
    // copied nor removed.
    struct InPlace {};
    ProgramRun(InPlace, const std::string& programFolder);
    ~ProgramRun();

    // Writes the program's settings file in the private config folder.
    void writeSettings(const std::string& text);
    // Starts folder/program with the arguments; output goes to log files.
    bool start(const std::string& program, const std::vector<std::string>& args);
    // Waits until the standard output holds `text` (at least count times);
    // false after the timeout or once the program ended without it.
    bool waitForLog(const std::string& text, double seconds = 30, size_t count = 1);
    // Finds the program's window by its title and gives it the keyboard.
    bool findWindow(const std::string& title, double seconds = 30);
    // Exit code, or -1 when it did not end in time (it is then killed).
    int waitForExit(double seconds = 30);
    // Waits until the window's pixels satisfy shows; false after the timeout.
    bool waitForPicture(const std::function<bool(const Capture&)>& shows, double seconds = 30);
    long maxResidentKb = -1;  // peak resident memory of the ended program
    std::string log() const;
    std::string errors() const;

    // xdotool with the window id appended where "%w" appears.
    int xdotool(const std::string& args);
    bool clientSize(int* width, int* height);
    // Names of the files in folder/shots, sorted.
    std::vector<std::string> shots() const;
};
