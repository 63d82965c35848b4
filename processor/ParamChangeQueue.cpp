// SPDX-License-Identifier: GPL-3.0-or-later
#include "ParamChangeQueue.h"

ParamChangeQueue::ParamChangeQueue() = default;

void ParamChangeQueue::push (int index, float value) noexcept
{
    if (index < 0 || index >= ParameterLayout::numParameters)
        return;

    slots[index].value.store (value, std::memory_order_relaxed);
    slots[index].pending.store (true, std::memory_order_release);
    changed.store (true, std::memory_order_release);
}

std::vector<Param> ParamChangeQueue::collect()
{
    const juce::ScopedLock sl (changeLock);

    // Cleared before the scan: a change that lands during it raises the flag
    // again and is picked up by the next collection. An exchange rather than
    // a store, so that no slot is read before the flag is cleared: a push whose
    // flag it clears has its slot seen by the scan (the exchange acquires what
    // that push released), one after it raises the flag again.
    changed.exchange (false, std::memory_order_acq_rel);

    std::vector<Param> changes;
    for (int i = 0; i < ParameterLayout::numParameters; ++i)
        if (slots[i].pending.exchange (false, std::memory_order_acquire))
            changes.push_back ({ i, slots[i].value.load (std::memory_order_relaxed) });

    return changes;
}

void ParamChangeQueue::clear()
{
    const juce::ScopedLock sl (changeLock);
    changed.store (false, std::memory_order_relaxed);

    for (auto& slot : slots)
        slot.pending.store (false, std::memory_order_relaxed);
}
