// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/DelayLine.h"
#include "engine/ModLine.h"
#include "engine/ParameterLayout.h"

#include <atomic>
#include <cstdint>

namespace nadrix
{
class LineSetRegistry;

// The 50 lines of the reverb as a fresh engine has them at one sample rate:
// each a feedback comb and a pre-delay, with silent rings and their indices
// where the construction table puts them. Built off the audio thread; the
// engine swaps its lines with a set like this one to start afresh.
//
// A ring is backed with memory only as far as its line's lengths reach
// (populate); the rest of its capacity is address space. The set owns its
// lines and their rings; a set whose lines or rings could get no memory at
// all says so (hasMemory) and is never run.
struct LineSet
{
    explicit LineSet (float sampleRate);
    ~LineSet();

    bool hasMemory() const noexcept { return memory; }

    LineSet (const LineSet&) = delete;
    LineSet& operator= (const LineSet&) = delete;

    // Backs what line `line` runs with this delay time and pre-delay (in
    // seconds) with memory, at this set's rate. Any thread, the audio thread
    // included, also while the line runs: nothing is written, and a ring is
    // only ever backed further.
    void populate (int line, float delayTime, float predelay) noexcept;
    // Whether populate would back nothing more: the line can run these
    // lengths without a page fault. Any thread.
    bool reaches (int line, float delayTime, float predelay) const noexcept;

    float sampleRate;
    DelayLine* delayLines[ParameterLayout::numLines];
    ModLine* modLines[ParameterLayout::numLines];

private:
    int32_t combReachFor (int line, float delayTime) const noexcept;
    int32_t predelayReachFor (int line, float predelay) const noexcept;

    friend class LineSetRegistry;
    LineSetRegistry* registry = nullptr; // the one this set is listed in, if any
    bool memory = true;

    // How far each ring is backed, in samples. A pre-delay ring is always
    // backed as far as its construction length: a silenced line clears up to there.
    std::atomic<int32_t> combReach[ParameterLayout::numLines];
    std::atomic<int32_t> predelayReach[ParameterLayout::numLines];
    int32_t constructionLength[ParameterLayout::numLines];
};
} // namespace nadrix
