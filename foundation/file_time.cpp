#include "file_time.h"
#include <sys/stat.h>

int64_t fileModifiedTime(const char* path) {
    struct stat st;
    if (stat(path, &st) != 0) return 0;
    return (int64_t)st.st_mtim.tv_sec * 1000000000 + st.st_mtim.tv_nsec;
}
