// Shared pieces of the fuzz targets: an input stream over the fuzzer's
// bytes, and a private settings folder on a memory file system.
#pragma once
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>
#include "streams.h"

// Fails the run: a result the format does not allow is a finding like a crash.
#define FUZZ_CHECK(cond)                                                           \
    do {                                                                           \
        if (!(cond)) {                                                             \
            fprintf(stderr, "%s(%d): check failed: %s\n", __FILE__, __LINE__, #cond); \
            abort();                                                               \
        }                                                                          \
    } while (0)

class MemoryInputStream : public InputStream {
public:
    MemoryInputStream(const uint8_t* d, size_t n) : data(d), size((int)(n > 0x7FFFFFFF ? 0x7FFFFFFF : n)), at(0) {}
    int readSome(void* buffer, int n) override {
        if (n <= 0) return 0;
        int k = n < size - at ? n : size - at;
        memcpy(buffer, data + at, (size_t)k);
        at += k;
        return k;
    }
    void readExact(void* buffer, int n) override {
        if (n < 0) throw Exception("negative size in read()", -1);
        if (readSome(buffer, n) != n) throw Exception("error reading file", at);
    }
    int tell() override { return at; }
    void seekSet(int p) override { seekTo(p); }
    void seekCur(int o) override { seekTo(at + o); }
    void seekEnd(int o) override { seekTo(size + o); }

private:
    void seekTo(int p) {
        if (p < 0 || p > size) throw Exception("file seek error", at);
        at = p;
    }
    const uint8_t* data;
    int size, at;
};

class MemoryOutputStream : public OutputStream {
public:
    std::string bytes;
    void writeExact(const void* buffer, int n) override {
        if (n < 0) throw Exception("negative size in write()", -1);
        bytes.append((const char*)buffer, (size_t)n);
    }
    int tell() override { return (int)bytes.size(); }
    void seekSet(int) override {}
    void seekEnd(int) override {}
};

// Points XDG_CONFIG_HOME at a fresh folder (in memory where possible, since
// every save flushes to disk) and returns the settings file's path.
inline std::string privateSettingsFile() {
    char base[] = "/dev/shm/zentrel-fuzz-XXXXXX";
    char fallback[] = "/tmp/zentrel-fuzz-XXXXXX";
    const char* dir = mkdtemp(base);
    if (!dir) dir = mkdtemp(fallback);
    FUZZ_CHECK(dir);
    setenv("XDG_CONFIG_HOME", dir, 1);
    return std::string(dir) + "/Pelnaro Games/ZENTREL/settings";
}
