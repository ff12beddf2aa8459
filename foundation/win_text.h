// win_text: UTF-8 inside the programs, UTF-16 at every Windows call
// (Windows builds only). Paths keep "/" inside the programs; Windows
// accepts it, and what comes back from Windows is turned to "/" here.
#pragma once
#include <string>

// The UTF-16 form of UTF-8 text; false (and out empty) for invalid UTF-8.
bool utf8ToWide(const char* text, std::wstring& out);
// The UTF-8 form of UTF-16 text; false for unpaired surrogates.
bool wideToUtf8(const wchar_t* text, std::string& out);
// wideToUtf8 with every "\" turned to "/".
bool widePathToUtf8(const wchar_t* path, std::string& out);
// The errno value that best says what a Windows error code means.
int errnoFromWindowsError(unsigned long error);
