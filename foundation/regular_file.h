// regular_file: opening data files that are plain files and nothing else.
//
// Every loader reads through these. A FIFO in place of a data file would
// block the program forever in open or read; a folder or a device would feed
// it nonsense sizes. The file is opened without blocking, checked with fstat,
// and only then read (in blocking mode again).
#pragma once
#include <cstdint>
#include <cstdio>
#include "qz_dynArray.h"

// Descriptor of the regular file at path opened for reading, or -1 with errno
// set (EINVAL for anything that is not a regular file).
int openRegularFile(const char* path);
// The same as a buffered runtime file in binary read mode, or null.
FILE* openRegularFileStream(const char* path);
// The whole regular file, if it holds at most maxBytes; false otherwise with
// errno set: EFBIG when it is larger (refused before reading when its size
// says so), EINVAL when it is not a regular file, or the open or read error.
bool readRegularFile(const char* path, DynArray<char>& bytes, int maxBytes);
// Text for readRegularFile's errno: "not a regular file", "the file is too
// large", else the system's text.
const char* regularFileError(int err);
