// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <deque>

namespace nadrix
{
// Where a render's whole tail ends: once the input is over, the output goes
// on until it has stayed below `quietDb` under its peak, and below
// `floorDbfs`, for `quietSeconds`, or for `longestSeconds` of tail at most.
// Fed one output frame at a time (the louder channel's level), so that the
// end falls on the same frame whatever the block size.
class WholeTailRule
{
public:
    struct Settings
    {
        double quietDb = -100.0, floorDbfs = -120.0, quietSeconds = 0.5, longestSeconds = 300.0;
    };

    WholeTailRule (const Settings& settings, double sampleRate);

    // One frame's level; `inTail`: the input is over by this frame (a pause
    // in the input is not the end).
    void add (float level, bool inTail);

    bool ended() const { return quiet >= quietNeeded || tail >= longest; }
    std::int64_t tailFrames() const { return tail; }
    // The longest tail was reached before the output went quiet.
    bool cut() const { return quiet < quietNeeded; }
    // How far below its peak the output ended: its loudest level over the
    // last `quietSeconds`, in dB.
    double endBelowPeakDb() const;

private:
    const std::int64_t quietNeeded, longest;
    const float floor, below;
    float peak = 0.0f;
    std::int64_t quiet = 0, tail = 0;
    std::deque<float> recent;
};
} // namespace nadrix
