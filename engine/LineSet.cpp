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

    // The lengths as the lines compute them, never beyond their capacity.
    const DelayLine* comb = delayLines[line];
    const ModLine* pre = modLines[line];
    reach (comb->buffer, combReach[line], std::min (DelayLine_Length_For_Time (comb, delayTime), comb->capacity));
    reach (pre->buffer, predelayReach[line],
           std::min (std::max (ModLine_Length_For_Predelay (pre, predelay), constructionLength[line]), pre->capacity));
}
} // namespace nadrix
