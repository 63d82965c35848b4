// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/RingMemory.h"

#include <atomic>
#include <cstddef>
#include <cstdlib>

#if defined(__linux__)
#include <sys/mman.h>

#ifndef MADV_POPULATE_WRITE
#define MADV_POPULATE_WRITE 23 // Linux 5.14; older headers lack the name
#endif
#endif

namespace nadrix
{
namespace
{
    constexpr size_t pageBytes = 4096;
    std::atomic<bool> populating { true };

    size_t bytesFor (int32_t samples) { return sizeof (float) * (size_t) (samples > 0 ? samples : 1); }

#if defined(__linux__)
    size_t roundedToPages (size_t bytes) { return (bytes + pageBytes - 1) / pageBytes * pageBytes; }

    // Whether this kernel populates without writing (Linux 5.14 and later).
    bool kernelPopulates()
    {
        static const bool populates = [] {
            void* probe = mmap (nullptr, pageBytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
            if (probe == MAP_FAILED)
                return false;
            const bool ok = madvise (probe, pageBytes, MADV_POPULATE_WRITE) == 0;
            munmap (probe, pageBytes);
            return ok;
        }();
        return populates;
    }
#endif

    // Every page of a zeroed block written once, so that none is left to
    // fault on the audio thread. Through a volatile pointer: a plain memset
    // after calloc is turned into calloc by the compiler, which writes nothing.
    void touchWhole (float* ring, size_t bytes)
    {
        auto* touch = reinterpret_cast<volatile char*> (ring);
        for (size_t i = 0; i < bytes; i += pageBytes)
            touch[i] = 0;
    }
}

float* RingMemory_Create (int32_t capacity)
{
    const size_t bytes = bytesFor (capacity);
#if defined(__linux__)
    if (kernelPopulates())
    {
        void* ring = mmap (nullptr, roundedToPages (bytes), PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
        if (ring == MAP_FAILED)
            return nullptr;
        // A huge page would back two megabytes for the first sample used.
        madvise (ring, roundedToPages (bytes), MADV_NOHUGEPAGE);
        return static_cast<float*> (ring);
    }
#endif
    auto* ring = static_cast<float*> (std::calloc ((size_t) (capacity > 0 ? capacity : 1), sizeof (float)));
    if (ring != nullptr && populating.load (std::memory_order_relaxed))
        touchWhole (ring, bytes);
    return ring;
}

void RingMemory_Destroy (float* ring, int32_t capacity)
{
    if (ring == nullptr)
        return;
#if defined(__linux__)
    if (kernelPopulates())
    {
        munmap (ring, roundedToPages (bytesFor (capacity)));
        return;
    }
#endif
    (void) capacity;
    std::free (ring);
}

void RingMemory_Populate (float* ring, int32_t from, int32_t to)
{
#if defined(__linux__)
    if (ring == nullptr || to <= from || ! populating.load (std::memory_order_relaxed) || ! kernelPopulates())
        return;
    // Whole pages: the first one may already be backed, which costs nothing more.
    const size_t first = sizeof (float) * (size_t) (from > 0 ? from : 0) / pageBytes * pageBytes;
    const size_t end = roundedToPages (sizeof (float) * (size_t) to);
    madvise (reinterpret_cast<char*> (ring) + first, end - first, MADV_POPULATE_WRITE);
#else
    (void) ring;
    (void) from;
    (void) to;
#endif
}

void RingMemory_Map_Pages_On_First_Use()
{
    populating.store (false, std::memory_order_relaxed);
}
} // namespace nadrix
