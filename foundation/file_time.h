// file_time: when a file was last modified, for freshness checks such as a
// shader cache against its sources.
#pragma once
#include <cstdint>

// The modification time in nanoseconds of the system's own epoch, or 0 when
// the file cannot be looked at. Only comparisons between files mean anything.
int64_t fileModifiedTime(const char* path);
