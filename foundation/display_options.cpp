#include "display_options.h"

bool optFullscreen = false;
bool optAntiAlias = false;
bool optVSync = true;
bool optFastVoxels = false;
int32_t optWidth = 0, optHeight = 0;
bool isFullscreen = false;
