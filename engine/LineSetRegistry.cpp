// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/LineSetRegistry.h"

#include "engine/LineSet.h"

#include <thread>

namespace nadrix
{
void LineSetRegistry::add (LineSet* set) noexcept
{
    for (auto& place : sets)
    {
        LineSet* empty = nullptr;
        if (place.compare_exchange_strong (empty, set))
        {
            set->registry = this;
            return;
        }
    }
}

void LineSetRegistry::retire (LineSet* set) noexcept
{
    for (auto& place : sets)
    {
        LineSet* listed = set;
        place.compare_exchange_strong (listed, nullptr);
    }
}

void LineSetRegistry::remove (LineSet* set) noexcept
{
    retire (set);
    // A thread that read the set from the list before it left may still be
    // populating it; the set's memory stays until it is done. Populating
    // takes microseconds, and this is never the audio thread.
    while (populating.load() != 0)
        std::this_thread::yield();
}

void LineSetRegistry::populate (int line, float delayTime, float predelay) noexcept
{
    populating.fetch_add (1);
    for (auto& place : sets)
        if (LineSet* set = place.load())
            set->populate (line, delayTime, predelay);
    populating.fetch_sub (1);
}

bool LineSetRegistry::reaches (int line, float delayTime, float predelay) noexcept
{
    populating.fetch_add (1); // keeps the sets read here alive, as populating does
    bool all = true;
    for (auto& place : sets)
        if (LineSet* set = place.load())
            all = all && set->reaches (line, delayTime, predelay);
    populating.fetch_sub (1);
    return all;
}
} // namespace nadrix
