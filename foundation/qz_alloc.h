// qz_alloc: the general-purpose allocator behind DynArray and the project's
// own object creation. It counts every allocation so that tests can prove a
// step or a frame allocates nothing after warm-up.
#pragma once
#include <cstddef>
#include <cstdint>

// Number of successful allocations and reallocations that obtained new memory
// since the program started. Never reset; callers compare two readings.
extern uint64_t qzAllocCount;

void* qzRealloc(void* p, size_t bytes);  // realloc semantics; counts a call that allocates
void qzFree(void* p);                    // free semantics; null is allowed
