// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Param.h"
#include "ParameterLayout.h"

#include <juce_core/juce_core.h>

#include <atomic>
#include <vector>

// Parameter changes waiting for the editor. Any thread may add one, the
// audio thread included, so adding never locks or allocates: each parameter
// has a slot holding its latest value and a flag. The editor collects the
// flagged slots in index order, each with the newest value it was given.
class ParamChangeQueue
{
public:
    ParamChangeQueue();

    void push (int index, float value) noexcept;
    bool hasChanges() const noexcept { return changed.load (std::memory_order_acquire); }
    std::vector<Param> collect();
    void clear();

private:
    struct Slot
    {
        std::atomic<float> value { 0.0f };
        std::atomic<bool> pending { false };
    };

    Slot slots[ParameterLayout::numParameters];
    std::atomic<bool> changed { false };
    juce::CriticalSection changeLock; // between collectors only; never taken by push

    JUCE_DECLARE_NON_COPYABLE (ParamChangeQueue)
};
