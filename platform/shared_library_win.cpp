// The Windows side of shared_library: LoadLibraryW and GetProcAddress.
#include <windows.h>
#include "shared_library.h"

void* openGpuLoadLibrary() {
    HMODULE lib = LoadLibraryW(L"atiadlxx.dll");
    if (!lib) lib = LoadLibraryW(L"atiadlxy.dll");
    return (void*)lib;
}

void* sharedLibrarySymbol(void* library, const char* name) {
    return (void*)GetProcAddress((HMODULE)library, name);
}

void closeSharedLibrary(void* library) { FreeLibrary((HMODULE)library); }
