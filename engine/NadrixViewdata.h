// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <atomic>

namespace nadrix
{
// What the editor sees of one line, in the order of the per-line parameters.
// Written by whichever thread sets a parameter and read by the editor
// without a lock, so every field is a lock-free 32-bit atomic.
struct NadrixViewdata
{
    std::atomic<float> pan { 0.0f };          // -1 .. +1
    std::atomic<float> hcGain { 0.0f };       // share of the high band
    std::atomic<float> feedback { 0.0f };
    std::atomic<float> predelay { 0.0f };     // seconds, as realised in whole samples
    std::atomic<float> delayTime { 0.0f };    // seconds, as realised in whole samples
    std::atomic<float> active { 0.0f };       // runs at 0.5 and above
    std::atomic<float> predelayGain { 0.0f };
};

static_assert (std::atomic<float>::is_always_lock_free);
static_assert (sizeof (NadrixViewdata) == 7 * sizeof (float));
} // namespace nadrix
