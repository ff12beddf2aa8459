// qz_dynArray: the growable array behind every list of both programs.
//
// - An all-zero DynArray is a valid empty array: it can live in zero-initialised
//   static storage without construction.
// - Elements are moved as raw bytes; element types must be relocatable that way.
//   The array never runs element destructors.
// - Storage is never shrunk by removal or resize; only release() frees it, so
//   lists emptied and refilled every step do not allocate after warm-up.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <new>
#include "qz_alloc.h"
#include "qz_utils.h"

template <typename T>
struct DynArray {
    T* data;
    int num;
    int capacity;

    DynArray() : data(nullptr), num(0), capacity(0) {}
    ~DynArray() { release(); }
    DynArray(const DynArray&) = delete;
    DynArray& operator=(const DynArray&) = delete;

    // Grows the storage to exactly n slots when n exceeds the capacity.
    void reserve(int n) {
        ASSERT(n>=0);
        if (n <= capacity) return;
        void* np = qzRealloc((void*)data, (size_t)n * sizeof(T));
        ASSERT(np);
        data = (T*)np;
        capacity = n;
    }

    // Opens n slots at `at` and fills them from src (copied) or with
    // default-constructed elements; returns the first new slot. src may lie
    // inside this array: its elements are found again after the storage
    // grows and the tail moves.
    T* insert(int at, int n, const T* src) {
        ASSERT(n>=0);
        ASSERT(at>=0 && at<=num);
        uintptr_t s = (uintptr_t)src, first = (uintptr_t)data, end = (uintptr_t)(data + num);
        ptrdiff_t srcIndex = (src && s >= first && s < end) ? (ptrdiff_t)(src - data) : -1;
        int need = num + n;
        if (need > capacity) {
            // Doubling, at least 8 slots, and need + 8 when doubling falls short.
            int nc = capacity * 2;
            if (nc < 8) nc = 8;
            if (nc < need) nc = need + 8;
            reserve(nc);
        }
        if (at < num) memmove((void*)(data + at + n), (void*)(data + at), (size_t)(num - at) * sizeof(T));
        num += n;
        for (int i = 0; i < n; i++) {
            if (srcIndex >= 0) {
                // Elements from `at` on now lie n further along.
                ptrdiff_t from = srcIndex + i;
                new (data + at + i) T(data[from >= at ? from + n : from]);
            } else if (src) {
                new (data + at + i) T(src[i]);
            } else {
                new (data + at + i) T();
            }
        }
        return data + at;
    }

    T* append(int n, const T* src) { return insert(num, n, src); }
    T& push(const T& x) {
        insert(num, 1, &x);
        return back();
    }

    // Removes n elements at `at`, keeping the order of the rest.
    void remove(int at, int n) {
        ASSERT(n>=0);
        ASSERT(at>=0 && at<=num);
        ASSERT(at+n<=num);
        int tail = num - (at + n);
        if (tail > 0) memmove((void*)(data + at), (void*)(data + at + n), (size_t)tail * sizeof(T));
        num -= n;
    }

    // Removes n elements at `at` by moving the last elements into the gap;
    // order is not kept.
    void removeFast(int at, int n) {
        ASSERT(n>=0);
        ASSERT(at>=0 && at<=num);
        ASSERT(at+n<=num);
        int tail = num - (at + n);
        int moved = n < tail ? n : tail;
        if (moved > 0) memmove((void*)(data + at), (void*)(data + num - moved), (size_t)moved * sizeof(T));
        num -= n;
    }

    void resize(int n) {
        ASSERT(n>=0);
        if (n > num) {
            reserve(n);
            insert(num, n - num, nullptr);
        } else {
            remove(n, num - n);
        }
    }

    T& back() {
        ASSERT(num>0);
        return data[num - 1];
    }

    void clear() { remove(0, num); }

    void release() {
        clear();
        qzFree((void*)data);
        data = nullptr;
        capacity = 0;
    }

    int size() const { return num; }
    T& operator[](int i) { return data[i]; }
    const T& operator[](int i) const { return data[i]; }
    T* begin() { return data; }
    T* end() { return data + num; }
    const T* begin() const { return data; }
    const T* end() const { return data + num; }
};
