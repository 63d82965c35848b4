// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace nadrix
{
// What the editor sees of one line, in the order of the per-line parameters:
// made when asked from the settings the line runs with, so it never falls
// behind them and never mixes two writes of one value.
struct NadrixViewdata
{
    float pan = 0.0f;          // -1 .. +1
    float hcGain = 0.0f;       // share of the high band
    float feedback = 0.0f;
    float predelay = 0.0f;     // seconds, as realised in whole samples
    float delayTime = 0.0f;    // seconds, as realised in whole samples
    float active = 0.0f;       // runs at one half and above (LineActivity)
    float predelayGain = 0.0f;
};

// Where the editor and the tail estimate read the lines from.
class LineViews
{
public:
    virtual ~LineViews() = default;
    // Any thread.
    virtual NadrixViewdata lineView (int line) const noexcept = 0;
};
} // namespace nadrix
