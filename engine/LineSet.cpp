// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/LineSet.h"

#include "engine/LineSetRegistry.h"
#include "engine/ModulationTable.h"
#include "engine/ConstructionTable.h"
#include "engine/RingMemory.h"

#include <algorithm>

namespace nadrix
{
namespace
{
    // Backs the ring up to `length`. The mark rises only once the memory is
    // backed, so a thread that finds it high enough can rely on it.
    void reach (float* ring, std::atomic<int32_t>& backed, int32_t length) noexcept
    {
        int32_t seen = backed.load (std::memory_order_acquire);
        if (seen >= length)
            return;

        RingMemory_Populate (ring, seen, length);
        while (seen < length && ! backed.compare_exchange_weak (seen, length, std::memory_order_release, std::memory_order_acquire))
        {
        }
    }
}

LineSet::LineSet (float rate) : sampleRate (rate)
{
    using namespace ParameterLayout;

    for (int j = 0; j < numLines; ++j)
    {
        combReach[j].store (0, std::memory_order_relaxed);
        predelayReach[j].store (0, std::memory_order_relaxed);
        constructionLength[j] = 0;
        delayLines[j] = DelayLine_Create();
        modLines[j] = ModLine_Create();
        if (delayLines[j] == nullptr || modLines[j] == nullptr)
        {
            memory = false;
            continue;
        }

        const float* d = ConstructionTable + indexOf (j, 0);
        DelayLine_Init (delayLines[j], d[delayTime], sampleRate, d[feedback]);
        ModLine_Init (modLines[j], ModulationTable[j].depth, ModulationTable[j].rate, d[predelay], sampleRate);
        memory = memory && delayLines[j]->buffer != nullptr && modLines[j]->buffer != nullptr;
        constructionLength[j] = modLines[j]->length;
    }
}

LineSet::~LineSet()
{
    if (registry != nullptr)
        registry->remove (this);

    for (int j = 0; j < ParameterLayout::numLines; ++j)
    {
        if (delayLines[j] != nullptr)
            DelayLine_Destroy (delayLines[j]);
        if (modLines[j] != nullptr)
            ModLine_Destroy (modLines[j]);
    }
}

void LineSet::populate (int line, float delayTime, float predelay) noexcept
{
    if (line < 0 || line >= ParameterLayout::numLines || ! memory)
        return;

    reach (delayLines[line]->buffer, combReach[line], combReachFor (line, delayTime));
    reach (modLines[line]->buffer, predelayReach[line], predelayReachFor (line, predelay));
}

bool LineSet::reaches (int line, float delayTime, float predelay) const noexcept
{
    if (line < 0 || line >= ParameterLayout::numLines || ! memory)
        return true; // nothing of it runs, so nothing is to be backed

    return combReach[line].load (std::memory_order_acquire) >= combReachFor (line, delayTime)
           && predelayReach[line].load (std::memory_order_acquire) >= predelayReachFor (line, predelay);
}

// The lengths as the lines compute them, never beyond their capacity.
int32_t LineSet::combReachFor (int line, float delayTime) const noexcept
{
    const DelayLine* comb = delayLines[line];
    return std::min (DelayLine_Length_For_Time (comb, delayTime), comb->capacity);
}

int32_t LineSet::predelayReachFor (int line, float predelay) const noexcept
{
    const ModLine* pre = modLines[line];
    return std::min (std::max (ModLine_Length_For_Predelay (pre, predelay), constructionLength[line]), pre->capacity);
}
} // namespace nadrix
