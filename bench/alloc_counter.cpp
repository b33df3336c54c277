// SPDX-FileCopyrightText: 2026 The passo-rigatura authors
// SPDX-License-Identifier: GPL-3.0-or-later
// Counting versions of the allocation functions, linked into the benchmark
// programs only. They take their blocks from glibc's own allocator, whose
// free takes them back, whoever frees them.
#include "bench/alloc_counter.h"

#include <atomic>
#include <cstddef>
#include <cstdlib>
#include <new>

extern "C" {
void *__libc_malloc(std::size_t size);
void *__libc_calloc(std::size_t count, std::size_t size);
void *__libc_realloc(void *block, std::size_t size);
}

namespace {

std::atomic<std::uint64_t> g_total{0};
std::atomic<std::uint64_t> g_viaNew{0};

void count(bool viaNew) {
    g_total.fetch_add(1, std::memory_order_relaxed);
    if (viaNew)
        g_viaNew.fetch_add(1, std::memory_order_relaxed);
}

} // namespace

namespace bench {

AllocationCounts allocationCounts() noexcept {
    return {g_total.load(std::memory_order_relaxed), g_viaNew.load(std::memory_order_relaxed)};
}

} // namespace bench

// The C allocator, as seen by every library in the process.
extern "C" {
void *malloc(std::size_t size) {
    count(false);
    return __libc_malloc(size);
}
void *calloc(std::size_t items, std::size_t size) {
    count(false);
    return __libc_calloc(items, size);
}
void *realloc(void *block, std::size_t size) {
    count(false);
    return __libc_realloc(block, size);
}
}

// The C++ allocator. The library's other forms of new (arrays, nothrow) call
// these two, and its deletes call free.
void *operator new(std::size_t size) {
    count(true);
    if (void *block = __libc_malloc(size == 0 ? 1 : size))
        return block;
    throw std::bad_alloc();
}

// posix_memalign is glibc's own: only malloc, calloc and realloc are replaced.
void *operator new(std::size_t size, std::align_val_t alignment) {
    count(true);
    void *block = nullptr;
    if (posix_memalign(&block, static_cast<std::size_t>(alignment), size == 0 ? 1 : size) != 0)
        throw std::bad_alloc();
    return block;
}
