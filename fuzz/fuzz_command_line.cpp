// The game's command line: arguments are the input split at zero bytes.
// With no settings stored, each option pair takes the value of its last
// argument, and the size is 1280 x 720, 640 x 360 or not given.
#include <string>
#include <vector>
#include "display_options.h"
#include "fuzz_support.h"
#include "options.h"

// The last of the arguments that set an option, or the default.
static bool lastOf(const std::vector<std::string>& args, const char* on, const char* off, bool dflt) {
    bool v = dflt;
    for (const std::string& a : args) {
        if (a == on) v = true;
        if (a == off) v = false;
    }
    return v;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static bool once = (privateSettingsFile(), true);
    (void)once;
    std::vector<std::string> args = {"game"};
    std::string cur;
    for (size_t i = 0; i < size; i++) {
        if (data[i] == 0) {
            args.push_back(cur);
            cur.clear();
        } else {
            cur += (char)data[i];
        }
    }
    if (size) args.push_back(cur);
    std::vector<const char*> argv;
    for (const std::string& a : args) argv.push_back(a.c_str());
    argv.push_back(nullptr);

    readSettings((int)args.size(), argv.data());
    FUZZ_CHECK(optAntiAlias == lastOf(args, "-aa", "-noaa", false));
    FUZZ_CHECK(optVSync == lastOf(args, "-vs", "-novs", true));
    FUZZ_CHECK(optFullscreen == lastOf(args, "-fullscr", "-win", false));
    FUZZ_CHECK(optFastVoxels == false);
    int w = 0, h = 0;
    for (const std::string& a : args) {
        if (a == "-720") w = 1280, h = 720;
        if (a == "-360") w = 640, h = 360;
    }
    FUZZ_CHECK(optWidth == w && optHeight == h);
    return 0;
}
