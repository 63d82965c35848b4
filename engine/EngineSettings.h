// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/LineRequest.h"
#include "engine/NadrixViewdata.h"
#include "engine/ParameterLayout.h"

#include <atomic>
#include <cstdint>

namespace nadrix
{
// What setters ask of the reverb, in engine units: the globals and each
// line's settings, written on any thread, and the lines the audio thread is
// to take over before its next block. The rate setters realise lengths at
// lives here too, so every reader of a line (the editor's view, the tail
// estimate) realises them as the lines do. Nothing here is copied: the view
// of a line is made from its settings when asked.
class EngineSettings final : public LineViews
{
public:
    // The construction table's lines and the engine's own starting globals.
    explicit EngineSettings (float sampleRate);

    static constexpr int numLines = ParameterLayout::numLines;
    static constexpr uint64_t splitChanged = uint64_t { 1 } << numLines;

    // One value by index; for a line, which line it was and whether a length
    // changed. Indices the engine has no use for are ignored (line -1).
    struct Stored
    {
        int line = -1;
        bool newLength = false;
    };
    Stored store (int index, float value) noexcept;

    // Take-over requests: bit j for line j, splitChanged for the splits.
    void requestTakeOver (uint64_t bits) noexcept { pending.fetch_or (bits, std::memory_order_release); }
    void cancelTakeOver (int line) noexcept { pending.fetch_and (~(uint64_t { 1 } << line)); }
    // Audio thread: what was requested since it last asked.
    uint64_t takePending() noexcept;

    LineRequest& line (int j) noexcept { return requests[j]; }
    const LineRequest& line (int j) const noexcept { return requests[j]; }
    NadrixViewdata lineView (int line) const noexcept override;

    // The rate lengths are realised at: a restart's (or construction's).
    float rate() const noexcept { return settingsRate.load(); }
    // Not the audio thread, serialised by the caller: every line's length
    // realised at the new rate.
    void changeRate (float sampleRate) noexcept;

    std::atomic<float> mix;
    std::atomic<float> midSplitFrequency;
    std::atomic<float> lowSplitFrequency;
    std::atomic<float> gainLow, gainMid, gainHigh;

private:
    LineRequest requests[numLines];
    std::atomic<uint64_t> pending { 0 };
    std::atomic<float> settingsRate;
};
} // namespace nadrix
