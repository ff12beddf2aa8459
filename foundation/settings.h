// settings: the per-user settings store and the "flags" value the launcher
// writes and the game reads.
//
// The store is the text file $XDG_CONFIG_HOME/Pelnaro Games/ZENTREL/settings
// ($HOME/.config when XDG_CONFIG_HOME is unset), one value per line as
// name=type:value. Every operation opens, uses and closes the file; nothing is
// cached. Lines the store does not understand are kept when it rewrites the file.
#pragma once
#include <cstdint>

enum SettingType {
    SettingString = 1,  // "sz": text; data holds it with its terminating zero
    SettingDword = 4,   // "dword": 32-bit unsigned, stored as 0x and 8 hex digits
};

extern const char* const settingsKeyPath;  // "SOFTWARE\Pelnaro Games\ZENTREL"

// Path of the settings file; false when no home or config folder is known.
bool settingsFilePath(char* out, int outSize);

// Stores one value, creating folders and file. The file is replaced
// atomically with its permissions kept; a symbolic link is followed and its
// target replaced. Writers take turns through a lock on "settings.lock"
// beside the file, so values stored by two programs at once are all kept;
// readers never wait. False (reason in settingsLastError) if the name or
// text cannot be stored on one line, or the file cannot be written:
// read-only by its mode bits, not a regular file, unreadable, larger than
// the reader accepts afterwards ("the settings file is too large"), locked
// by another writer for 10 s, or a failing disk.
// Every program stores its values through this one writer.
bool writeSetting(const char* name, SettingType type, const void* data, int size);
// True with type, data and size filled when the value exists and fits in
// *size bytes; false otherwise (no file, no line, unreadable or malformed value).
bool readSetting(const char* name, SettingType* type, void* data, int* size);
bool writeSettingDword(const char* name, uint32_t value);
// Why the last failed write failed ("the file is read-only", an errno
// text…); empty after a successful one.
const char* settingsLastError();
// True and value set only for a stored dword; otherwise value is untouched.
bool readSettingDword(const char* name, uint32_t* value);

//---------------------------------------------------------------------------
// "flags"
//---------------------------------------------------------------------------

enum {
    FlagFullscreen = 0x1,
    FlagAntiAlias = 0x2,
    FlagVSync = 0x4,
    FlagFastVoxels = 0x8,
};

struct DisplayFlags {
    bool fullscreen;  // default off (windowed)
    bool antiAlias;   // default off
    bool vSync;       // default on
    bool fastVoxels;  // default off
};

DisplayFlags defaultDisplayFlags();
// Takes all four bits from a stored value; bits 4-31 are ignored.
DisplayFlags decodeFlags(uint32_t flags);
uint32_t encodeFlags(const DisplayFlags& f);
// readSettingDword("flags") decoded, or the defaults when it cannot be read.
DisplayFlags readDisplayFlags();
