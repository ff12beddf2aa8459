#include "shared_library.h"
#include <dlfcn.h>

void* openGpuLoadLibrary() { return dlopen("libatiadlxx.so", RTLD_LAZY | RTLD_LOCAL); }

void* sharedLibrarySymbol(void* library, const char* name) { return dlsym(library, name); }

void closeSharedLibrary(void* library) { dlclose(library); }
