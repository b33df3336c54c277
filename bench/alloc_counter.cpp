// SPDX-FileCopyrightText: 2026 The passo-rigatura authors
// SPDX-License-Identifier: GPL-3.0-or-later
// Counting versions of the allocation functions, linked into the benchmark
// programs only. They forward to glibc's own allocator, so a block from any of
// them can be freed by any other, including by code that never sees these.
#include "bench/alloc_counter.h"

#include <atomic>
#include <cstddef>
#include <cstdlib>
#include <new>

extern "C" {
void *__libc_malloc(std::size_t size);
void *__libc_calloc(std::size_t count, std::size_t size);
void *__libc_realloc(void *block, std::size_t size);
void __libc_free(void *block);
}

namespace {

std::atomic<std::uint64_t> g_total{0};
std::atomic<std::uint64_t> g_viaNew{0};

void *counted(std::size_t size) {
    g_total.fetch_add(1, std::memory_order_relaxed);
    return __libc_malloc(size == 0 ? 1 : size);
}

void *countedNew(std::size_t size) {
    g_viaNew.fetch_add(1, std::memory_order_relaxed);
    if (void *block = counted(size))
        return block;
    throw std::bad_alloc();
}

void *countedAlignedNew(std::size_t size, std::align_val_t alignment) {
    g_viaNew.fetch_add(1, std::memory_order_relaxed);
    g_total.fetch_add(1, std::memory_order_relaxed);
    void *block = nullptr;
    // posix_memalign is glibc's own here: only malloc, calloc and realloc are
    // replaced below, and free takes its blocks.
    if (posix_memalign(&block, static_cast<std::size_t>(alignment), size == 0 ? 1 : size) != 0)
        throw std::bad_alloc();
    return block;
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
    g_total.fetch_add(1, std::memory_order_relaxed);
    return __libc_malloc(size);
}
void *calloc(std::size_t count, std::size_t size) {
    g_total.fetch_add(1, std::memory_order_relaxed);
    return __libc_calloc(count, size);
}
void *realloc(void *block, std::size_t size) {
    g_total.fetch_add(1, std::memory_order_relaxed);
    return __libc_realloc(block, size);
}
void free(void *block) {
    __libc_free(block);
}
}

// The C++ allocator.
void *operator new(std::size_t size) {
    return countedNew(size);
}
void *operator new[](std::size_t size) {
    return countedNew(size);
}
void *operator new(std::size_t size, const std::nothrow_t &) noexcept {
    g_viaNew.fetch_add(1, std::memory_order_relaxed);
    return counted(size);
}
void *operator new[](std::size_t size, const std::nothrow_t &) noexcept {
    g_viaNew.fetch_add(1, std::memory_order_relaxed);
    return counted(size);
}
void *operator new(std::size_t size, std::align_val_t alignment) {
    return countedAlignedNew(size, alignment);
}
void *operator new[](std::size_t size, std::align_val_t alignment) {
    return countedAlignedNew(size, alignment);
}
void operator delete(void *block) noexcept {
    __libc_free(block);
}
void operator delete[](void *block) noexcept {
    __libc_free(block);
}
void operator delete(void *block, std::size_t) noexcept {
    __libc_free(block);
}
void operator delete[](void *block, std::size_t) noexcept {
    __libc_free(block);
}
void operator delete(void *block, std::align_val_t) noexcept {
    __libc_free(block);
}
void operator delete[](void *block, std::align_val_t) noexcept {
    __libc_free(block);
}
void operator delete(void *block, std::size_t, std::align_val_t) noexcept {
    __libc_free(block);
}
void operator delete[](void *block, std::size_t, std::align_val_t) noexcept {
    __libc_free(block);
}
