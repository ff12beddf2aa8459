#include "streams.h"
#include <cstring>
#include "regular_file.h"

StreamIOException::StreamIOException(const char* msg, int c) : code(c) {
    strncpy(message, msg, sizeof message - 1);
    message[sizeof message - 1] = 0;
}

//---------------------------------------------------------------------------
// FileInputStream
//---------------------------------------------------------------------------

FileInputStream::FileInputStream(const char* name, const char* mode) : file(nullptr) { open(name, mode); }

bool FileInputStream::open(const char* name, const char* mode) {
    close();
    // Input comes from data files only: a FIFO or a device is refused
    // rather than waited on.
    bool plainRead = mode && mode[0] == 'r' && !strchr(mode, '+');
    file = plainRead ? openRegularFileStream(name) : fopen(name, mode);
    return file != nullptr;
}

void FileInputStream::close() {
    if (file) fclose(file);
    file = nullptr;
}

int FileInputStream::readSome(void* buffer, int n) {
    if (!file || n <= 0) return 0;
    return (int)fread(buffer, 1, (size_t)n, file);
}

void FileInputStream::readExact(void* buffer, int n) {
    if (!file) throw Exception("file not opened", -1);
    if (n < 0) throw Exception("negative size in read()", -1);
    if (n == 0) return;
    if (fread(buffer, 1, (size_t)n, file) != (size_t)n) throw Exception("error reading file", (int)ftell(file));
}

int FileInputStream::tell() {
    if (!file) throw Exception("file not opened", -1);
    return (int)ftell(file);
}

void FileInputStream::seek(long offset, int whence) {
    if (!file) throw Exception("file not opened", -1);
    if (fseek(file, offset, whence) != 0) throw Exception("file seek error", (int)ftell(file));
}

void FileInputStream::seekSet(int position) { seek(position, SEEK_SET); }
void FileInputStream::seekCur(int offset) { seek(offset, SEEK_CUR); }
void FileInputStream::seekEnd(int offset) { seek(offset, SEEK_END); }

//---------------------------------------------------------------------------
// FileOutputStream
//---------------------------------------------------------------------------

FileOutputStream::FileOutputStream(const char* name, const char* mode) : file(nullptr) { open(name, mode); }

bool FileOutputStream::open(const char* name, const char* mode) {
    close();
    file = fopen(name, mode);
    return file != nullptr;
}

bool FileOutputStream::close() {
    bool ok = true;
    if (file) ok = fclose(file) == 0;
    file = nullptr;
    return ok;
}

void FileOutputStream::writeExact(const void* buffer, int n) {
    if (!file) throw Exception("file not opened", -1);
    if (n < 0) throw Exception("negative size in write()", -1);
    if (n == 0) return;
    if (fwrite(buffer, 1, (size_t)n, file) != (size_t)n) throw Exception("error writing file", (int)ftell(file));
}

int FileOutputStream::tell() {
    if (!file) throw Exception("file not opened", -1);
    return (int)ftell(file);
}

void FileOutputStream::seek(long offset, int whence) {
    if (!file) throw Exception("file not opened", -1);
    if (fseek(file, offset, whence) != 0) throw Exception("file seek error", (int)ftell(file));
}

void FileOutputStream::seekSet(int position) { seek(position, SEEK_SET); }
void FileOutputStream::seekEnd(int offset) { seek(offset, SEEK_END); }
