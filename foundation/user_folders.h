// user_folders: where the programs put what they write for the player. Run
// from a build folder, screenshots stay beside the program; an installed
// program folder (one holding the marker file the install step puts there)
// is read-only for the player, so screenshots go to the player's pictures
// folder instead. The log of the last run goes to the state folder.
#pragma once

// Name of the marker file in an installed program folder.
extern const char* const installMarkerName;

// True when the marker file lies beside the program (in appPath).
bool programInstalled();

// Makes path and every missing folder above it, new ones with mode; true
// when path is a folder afterwards.
bool makeFolderPath(const char* path, unsigned mode);

// A per-user base folder of the XDG scheme: $envName when it holds an
// absolute path, else $HOME/homeRelative. False without either, or when the
// text would not fit.
bool xdgBaseFolder(char* out, int outSize, const char* envName, const char* homeRelative);

// "$XDG_STATE_HOME/zentrel", else "$HOME/.local/state/zentrel".
bool stateFolder(char* out, int outSize);
// The state folder, made (mode 0700) when missing; false when it cannot be.
// The programs open their logs there.
bool makeStateFolder(char* out, int outSize);

// XDG_PICTURES_DIR from user-dirs.dirs in the config folder, else
// $HOME/Pictures. A user-dirs.dirs that is not a regular file, or larger
// than any real one (64 KiB), is not read.
bool picturesFolder(char* out, int outSize);

// Makes folder and gives the absolute path a write into it can use; false
// (errno set) when it cannot be made or takes no new files.
bool usableFolder(const char* folder, char* absolute, int absoluteSize);

// Where the screenshot called name ("shots/FILE") is written: name itself
// (the "shots" folder beside the program) when run from a build folder,
// "<pictures>/ZENTREL/FILE" when installed, made absolute when the pictures
// folder is relative (a relative HOME), so the write lands in the folder
// made here. Makes the folder; when it cannot, logs a line naming it and
// returns false.
bool screenshotPath(char* out, int outSize, const char* name);
