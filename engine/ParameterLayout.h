// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace nadrix
{
// Where each parameter sits in the flat index: 7 globals, then 7 per line.
// The parameter of kind k of line j has index 7 + 7 * j + k. The seventh
// global (index 6) is the plug-in's own, not the reverb's (the zoom of its
// window's fan): the engine keeps its place and ignores it.
namespace ParameterLayout
{
    constexpr int numGlobals = 7;
    constexpr int numLines = 50;
    constexpr int perLine = 7;
    constexpr int numParameters = numGlobals + numLines * perLine;

    enum Global { mix, splitFreqLow, splitFreqMid, gainLow, gainMid, gainHigh };
    enum Kind { pan, hcGain, feedback, predelay, delayTime, active, predelayGain };

    constexpr int indexOf (int line, int kind) { return numGlobals + perLine * line + kind; }
    constexpr int lineOf (int index) { return (index - numGlobals) / perLine; }
    constexpr int kindOf (int index) { return (index - numGlobals) % perLine; }
}
} // namespace nadrix
