// Files a hostile user or a failing disk puts where the programs expect
// their data: hand-made PNG bytes (chunk by chunk, so a header may claim
// what no encoder would write) and things that are not regular files.
#pragma once
#include <sys/resource.h>
#include <sys/stat.h>
#include <csignal>
#include <unistd.h>
#include <cstdint>
#include <cstdio>
#include <string>

namespace hostile {

inline uint32_t crc32(const std::string& bytes) {
    uint32_t c = 0xFFFFFFFFu;
    for (unsigned char b : bytes) {
        c ^= b;
        for (int k = 0; k < 8; k++) c = (c >> 1) ^ (0xEDB88320u & (0u - (c & 1)));
    }
    return ~c;
}

inline std::string be32(uint32_t v) {
    return {(char)(v >> 24), (char)(v >> 16), (char)(v >> 8), (char)v};
}

inline std::string chunk(const std::string& type, const std::string& data) {
    return be32((uint32_t)data.size()) + type + data + be32(crc32(type + data));
}

inline std::string pngSignature() { return std::string("\x89PNG\r\n\x1a\n", 8); }

// IHDR of an 8-bit RGBA image.
inline std::string ihdr(uint32_t width, uint32_t height) {
    return chunk("IHDR", be32(width) + be32(height) + std::string("\x08\x06\x00\x00\x00", 5));
}

// 56 bytes: a 1 x 1 image followed by a text chunk claiming 2 GiB that the
// file does not hold.
inline std::string hugeChunkPng() {
    return pngSignature() + ihdr(1, 1) + be32(0x7FFFFFF0u) + "tEXt" + std::string(15, 'A');
}

// Header and size keys of a sprite of x * y * z voxels; no image data, since
// a sprite that large must be refused before any row is read.
inline std::string spriteHeaderPng(uint32_t x, uint32_t y, uint32_t z) {
    auto key = [](const char* k, uint32_t v) { return chunk("tEXt", std::string(k) + '\0' + std::to_string(v)); };
    return pngSignature() + ihdr(x * z, y) + key("VoxelGridDimX", x) + key("VoxelGridDimY", y) +
           key("VoxelGridDimZ", z) + chunk("IDAT", "") + chunk("IEND", "");
}

inline bool writeBytes(const std::string& path, const std::string& bytes) {
    FILE* f = fopen(path.c_str(), "wb");
    if (!f) return false;
    bool ok = bytes.empty() || fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return fclose(f) == 0 && ok;
}

// While it lives, writes past `bytes` of any one file fail with EFBIG, as
// on a full disk (the file size limit, its signal ignored).
struct FullDisk {
    rlimit saved;
    explicit FullDisk(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &saved);
        signal(SIGXFSZ, SIG_IGN);
        rlimit limit = {bytes, saved.rlim_max};
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FullDisk() { setrlimit(RLIMIT_FSIZE, &saved); }
};

// Replaces path by a FIFO (nobody ever writes to it) or by an empty folder.
inline bool replaceByFifo(const std::string& path) { return unlink(path.c_str()) == 0 && mkfifo(path.c_str(), 0644) == 0; }
inline bool replaceByFolder(const std::string& path) { return unlink(path.c_str()) == 0 && mkdir(path.c_str(), 0755) == 0; }

}  // namespace hostile
