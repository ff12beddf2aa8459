// Counts every operator new of the test program, beside DynArray's own
// counter (qzAllocCount). Include in exactly one source file of a program.
#pragma once
#include <cstdint>
#include <cstdlib>
#include <new>

static uint64_t newCount = 0;

void* operator new(size_t n) {
    newCount++;
    void* p = malloc(n ? n : 1);
    if (!p) throw std::bad_alloc();
    return p;
}
// Every form is replaced, so that whatever a library calls, new and delete
// meet in the same allocator (the sanitizers' own forms would not match free).
void* operator new(size_t n, const std::nothrow_t&) noexcept {
    newCount++;
    return malloc(n ? n : 1);
}
void* operator new[](size_t n) { return operator new(n); }
void* operator new[](size_t n, const std::nothrow_t& t) noexcept { return operator new(n, t); }
void operator delete(void* p) noexcept { free(p); }
void operator delete(void* p, size_t) noexcept { free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { free(p); }
void operator delete[](void* p) noexcept { free(p); }
void operator delete[](void* p, size_t) noexcept { free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { free(p); }
