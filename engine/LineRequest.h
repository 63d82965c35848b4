// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <atomic>
#include <cstdint>

namespace nadrix
{
// The settings of one line as last requested by a setter, on any thread.
// The audio thread takes them over before its next block, so a setter never
// touches a ring or an index the audio thread is using.
struct LineRequest
{
    std::atomic<float> pan { 0.0f };
    std::atomic<float> hcGain { 0.0f };
    std::atomic<float> feedback { 0.0f };
    std::atomic<float> predelay { 0.0f };     // seconds
    std::atomic<float> delayTime { 0.0f };    // seconds
    std::atomic<int32_t> delayLength { 1 };   // samples at the setters' rate: tells a change of length
    std::atomic<bool> clearRing { false };    // the delay length changed since the last take-over
    std::atomic<float> active { 0.0f };
    std::atomic<float> predelayGain { 0.0f };
};
} // namespace nadrix
