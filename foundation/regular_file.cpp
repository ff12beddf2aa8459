#include "regular_file.h"
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <cstring>

int openRegularFile(const char* path) {
    int fd = open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) return -1;
    struct stat st;
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        close(fd);
        errno = EINVAL;
        return -1;
    }
    // Reads of a regular file never block; clear the flag so the runtime
    // sees an ordinary descriptor.
    int fl = fcntl(fd, F_GETFL);
    if (fl >= 0) fcntl(fd, F_SETFL, fl & ~O_NONBLOCK);
    return fd;
}

FILE* openRegularFileStream(const char* path) {
    int fd = openRegularFile(path);
    if (fd < 0) return nullptr;
    FILE* f = fdopen(fd, "rb");
    if (!f) close(fd);
    return f;
}

bool readRegularFile(const char* path, DynArray<char>& bytes, int maxBytes) {
    int fd = openRegularFile(path);
    if (fd < 0) return false;
    // The size is only a hint (the file may change while it is read): it
    // refuses a file that is too large at once, and the limit is checked
    // again against what is actually read.
    struct stat st;
    if (fstat(fd, &st) != 0) st.st_size = 0;
    if (st.st_size > maxBytes) {
        close(fd);
        errno = EFBIG;
        return false;
    }
    bytes.reserve(bytes.num + (int)st.st_size);
    char chunk[4096];
    int error = 0;
    for (;;) {
        ssize_t n = read(fd, chunk, sizeof chunk);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) error = errno;
        if (n <= 0) break;
        if ((int64_t)bytes.num + n > maxBytes) {
            error = EFBIG;
            break;
        }
        bytes.append((int)n, chunk);
    }
    close(fd);
    errno = error;
    return error == 0;
}
