// SPDX-License-Identifier: GPL-3.0-or-later
#include "RingMemory.h"

#include <atomic>
#include <cstdlib>

namespace
{
    constexpr size_t pageBytes = 4096;
    std::atomic<bool> touchPages { true };
}

float* RingMemory_Create (int32_t samples)
{
    const auto bytes = sizeof (float) * (size_t) samples;
    auto* ring = static_cast<float*> (std::calloc ((size_t) samples, sizeof (float)));
    if (! touchPages.load (std::memory_order_relaxed))
        return ring;

    // Written through a volatile pointer: a plain memset after malloc is
    // turned into calloc by the compiler, which writes nothing.
    auto* touch = reinterpret_cast<volatile char*> (ring);
    for (size_t i = 0; i < bytes; i += pageBytes)
        touch[i] = 0;

    return ring;
}

void RingMemory_Destroy (float* ring)
{
    std::free (ring);
}

void RingMemory_Map_Pages_On_First_Use()
{
    touchPages.store (false, std::memory_order_relaxed);
}
