#include "process.h"
#include <spawn.h>
#include <sys/types.h>

extern char** environ;

int startProgram(const char* path) {
    char* argv[2] = {const_cast<char*>(path), nullptr};
    pid_t pid = 0;
    // posix_spawn reports a failed exec (missing file, no permission) as its
    // result, so the caller learns whether the program really started.
    return posix_spawn(&pid, path, nullptr, nullptr, argv, environ);
}
