// The Windows side of process: CreateProcessW, no waiting. A path without
// an extension names a Windows program, "game" being "game.exe".
#include <windows.h>
#include <cstring>
#include <string>
#include "process.h"
#include "win_text.h"

int startProgram(const char* path) {
    std::string file = path ? path : "";
    size_t slash = file.find_last_of("/\\");
    if (file.find('.', slash == std::string::npos ? 0 : slash + 1) == std::string::npos) file += ".exe";
    std::wstring application;
    if (file.empty() || !utf8ToWide(file.c_str(), application)) return ENOENT;
    for (wchar_t& c : application)
        if (c == L'/') c = L'\\';
    // The command line is the quoted program path alone; CreateProcessW may
    // write into it, so it is a writable copy.
    std::wstring commandLine = L"\"" + application + L"\"";
    STARTUPINFOW startup;
    memset(&startup, 0, sizeof startup);
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process;
    if (!CreateProcessW(application.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process))
        return errnoFromWindowsError(GetLastError());
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return 0;
}
