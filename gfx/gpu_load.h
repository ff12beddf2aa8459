// gpu_load: the graphics processor's activity, read through the vendor's
// display library when it is installed ("libatiadlxx.so", loaded at run
// time). Without it the load is simply not available.
#pragma once

// True when the library is bound (also when it already was).
bool initGpuLoad();
// True with the activity in percent; false when not available.
bool readGpuLoad(int* percent);
void shutdownGpuLoad();
