// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <atomic>

namespace nadrix
{
struct LineSet;

// The line sets alive in one engine (the running one, one on offer, those
// handed back), so that a thread setting a line's length can back it with
// memory in whichever set will run it. Populating is lock-free and may run
// on the audio thread; a set leaves the list before it is freed, and
// waits for any thread populating it to finish.
class LineSetRegistry
{
public:
    LineSetRegistry() = default;
    LineSetRegistry (const LineSetRegistry&) = delete;
    LineSetRegistry& operator= (const LineSetRegistry&) = delete;

    // Not the audio thread. A set that finds no free place is simply not
    // populated by later changes (the audio thread backs it as it runs).
    void add (LineSet* set) noexcept;
    // Any thread: later changes no longer populate the set.
    void retire (LineSet* set) noexcept;
    // Not the audio thread; the set's destructor calls it.
    void remove (LineSet* set) noexcept;

    // LineSet::populate on every listed set. Any thread.
    void populate (int line, float delayTime, float predelay) noexcept;
    // Whether every listed set reaches these lengths already (LineSet::reaches). Any thread.
    bool reaches (int line, float delayTime, float predelay) noexcept;

private:
    // The running set, one on offer, one being built and two handed back, with room to spare.
    static constexpr int places = 6;
    std::atomic<LineSet*> sets[places] {};
    std::atomic<int> populating { 0 };
};
} // namespace nadrix
