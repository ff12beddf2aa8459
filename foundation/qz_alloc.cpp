#include "qz_alloc.h"
#include <cstdlib>

uint64_t qzAllocCount = 0;

void* qzRealloc(void* p, size_t bytes) {
    void* np = realloc(p, bytes);
    if (np && bytes) qzAllocCount++;
    return np;
}

void qzFree(void* p) { free(p); }
