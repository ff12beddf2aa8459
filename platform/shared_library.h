// shared_library: a system library opened at run time, for optional
// features such as the GPU load (gfx/gpu_load.cpp).
#pragma once

// The GPU load library, or null when it is absent: "libatiadlxx.so" on
// Linux; the design's "atiadlxx.dll", else "atiadlxy.dll", on Windows.
void* openGpuLoadLibrary();
// The address of a function of an open library, or null.
void* sharedLibrarySymbol(void* library, const char* name);
void closeSharedLibrary(void* library);
