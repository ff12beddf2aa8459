#include "gpu_load.h"
#include <cstdlib>
#include "qz_utils.h"
#include "shared_library.h"

namespace {

// Activity record of the library: 40 bytes of 32-bit fields; only the
// activity percent is used.
struct GpuActivity {
    int size, engineClock, memoryClock, vddc, activityPercent, currentPerformanceLevel, currentBusSpeed,
        currentBusLanes, maximumBusLanes, reserved;
};
static_assert(sizeof(GpuActivity) == 40, "activity record is 40 bytes");

typedef void* (*AllocCallback)(int);
typedef int (*MainControlCreate)(AllocCallback, int);
typedef int (*MainControlDestroy)();
typedef int (*NumberOfAdapters)(int*);
typedef int (*CurrentActivity)(int, GpuActivity*);

// Bound from initGpuLoad to shutdownGpuLoad, or all null.
struct GpuLoadLibrary {
    void* library;
    MainControlCreate create;
    MainControlDestroy destroy;
    NumberOfAdapters adapters;
    CurrentActivity activity;
};
GpuLoadLibrary adl;

void* allocForLibrary(int bytes) { return malloc((size_t)(bytes > 0 ? bytes : 1)); }

}  // namespace

bool initGpuLoad() {
    if (adl.library) return true;
    void* lib = openGpuLoadLibrary();
    if (!lib) return false;
    adl.library = lib;
    adl.create = (MainControlCreate)sharedLibrarySymbol(lib, "ADL_Main_Control_Create");
    adl.destroy = (MainControlDestroy)sharedLibrarySymbol(lib, "ADL_Main_Control_Destroy");
    adl.adapters = (NumberOfAdapters)sharedLibrarySymbol(lib, "ADL_Adapter_NumberOfAdapters_Get");
    adl.activity = (CurrentActivity)sharedLibrarySymbol(lib, "ADL_Overdrive5_CurrentActivity_Get");
    if (adl.create && adl.destroy && adl.adapters && adl.activity) {
        if (adl.create(allocForLibrary, 1) == 0) return true;
        logMessage("ADL_Main_Control_Create failed!");
    }
    closeSharedLibrary(lib);
    adl = GpuLoadLibrary();
    return false;
}

bool readGpuLoad(int* percent) {
    if (!adl.library) return false;
    GpuActivity a = {};
    a.size = (int)sizeof a;
    if (adl.activity(0, &a) != 0) return false;
    *percent = a.activityPercent;
    return true;
}

void shutdownGpuLoad() {
    if (!adl.library) return;
    if (adl.destroy) adl.destroy();
    closeSharedLibrary(adl.library);
    adl = GpuLoadLibrary();
}
