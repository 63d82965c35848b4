// SPDX-License-Identifier: GPL-3.0-or-later
#include "processor/ParameterInfo.h"

#include <algorithm>
#include <cmath>

namespace nadrix
{
namespace
{
    using ParameterInfo::Row;
    using ParameterInfo::Unit;
    using namespace ParameterInfo;

    // Every mapping is 32-bit float arithmetic in the order written: the
    // engine receives exactly these values.
    float same (float n) { return n; }
    float percent (float n) { return n * 100.0f; }
    float fromPercent (float p) { return p / 100.0f; }
    float milliseconds (float n) { return n * 1000.0f; }
    float fromMilliseconds (float ms) { return ms / 1000.0f; }

    float splitFrequency (float n) { return n * n * splitFrequencySpan + lowestSplitFrequency; }
    float fromSplitFrequency (float hz) { return std::sqrt (std::max (0.0f, (hz - lowestSplitFrequency) / splitFrequencySpan)); }

    float bandGain (float n) { return n + n; }
    float fromBandGain (float g) { return g * 0.5f; }

    float pan (float n) { return (n + n) - 1.0f; }
    float fromPan (float p) { return (p + 1.0f) * 0.5f; }
    float panPercent (float n) { return pan (n) * 100.0f; }
    float fromPanPercent (float p) { return fromPan (p / 100.0f); }

    float feedback (float n) { return std::min (n, highestFeedback); }

    float zoom (float n) { return n * zoomRange + lowestZoom; }
    float fromZoom (float z) { return (z - lowestZoom) / zoomRange; }

    // Indices 0..6, in index order.
    const Row globals[ParameterLayout::numGlobals] = {
        { "Mix", Unit::mixPercent, same, same, percent, fromPercent, 0.0f, 100.0f, "pc", true },
        { "Split Freq LOW", Unit::hertz, splitFrequency, fromSplitFrequency, splitFrequency, fromSplitFrequency,
          lowestSplitFrequency, lowestSplitFrequency + splitFrequencySpan, "hz", true },
        { "Split Freq MID", Unit::hertz, splitFrequency, fromSplitFrequency, splitFrequency, fromSplitFrequency,
          lowestSplitFrequency, lowestSplitFrequency + splitFrequencySpan, "hz", true },
        { "Gain Low", Unit::gain, bandGain, fromBandGain, bandGain, fromBandGain, 0.0f, highestBandGain, "coef", true },
        { "Gain Mid", Unit::gain, bandGain, fromBandGain, bandGain, fromBandGain, 0.0f, highestBandGain, "coef", true },
        { "Gain High", Unit::gain, bandGain, fromBandGain, bandGain, fromBandGain, 0.0f, highestBandGain, "coef", true },
        // The zoom of the window's fan view is not sound: hosts leave it out
        // of their automation lists. It is still saved, restored and set by programs.
        { "UI Zoom", Unit::zoom, same, same, zoom, fromZoom, lowestZoom, lowestZoom + zoomRange, "coef", false },
    };

    // The seven kinds of a line, in kind order; the stem takes the line number.
    const Row perLine[ParameterLayout::perLine] = {
        { "Pan Dly ", Unit::pan, pan, fromPan, panPercent, fromPanPercent, -100.0f, 100.0f, "pc", true },
        { "HC Gain Dly ", Unit::percent, same, same, percent, fromPercent, 0.0f, 100.0f, "pc", true },
        { "Feedback Dly ", Unit::feedbackPercent, feedback, same, percent, fromPercent, 0.0f, 100.0f, "pc", true },
        { "Predelay Dly ", Unit::milliseconds, same, same, milliseconds, fromMilliseconds, 0.0f, 1000.0f, "ms", true },
        { "Delay time Dly ", Unit::delayMilliseconds, same, same, milliseconds, fromMilliseconds, 0.0f, 1000.0f, "ms", true },
        { "Active Dly ", Unit::onOff, same, same, same, same, 0.0f, 1.0f, "", true },
        { "Predelay gain Dly ", Unit::percent, same, same, percent, fromPercent, 0.0f, 100.0f, "pc", true },
    };
}

namespace ParameterInfo
{
    bool isValidIndex (int index) noexcept
    {
        return index >= 0 && index < ParameterLayout::numParameters;
    }

    const Row& rowOf (int index) noexcept
    {
        if (index >= 0 && index < ParameterLayout::numGlobals)
            return globals[index];
        return perLine[ParameterLayout::kindOf (std::clamp (index, ParameterLayout::numGlobals, ParameterLayout::numParameters - 1))];
    }

    std::string name (int index)
    {
        if (! isValidIndex (index))
            return {};
        if (index < ParameterLayout::numGlobals)
            return globals[index].name;
        return perLine[ParameterLayout::kindOf (index)].name + std::to_string (ParameterLayout::lineOf (index));
    }

    int indexOfName (const std::string& text)
    {
        for (int i = 0; i < ParameterLayout::numParameters; ++i)
            if (name (i) == text)
                return i;
        return -1;
    }

    float engineValue (int index, float n) { return rowOf (index).toEngine (n); }
    float normalisedFromEngine (int index, float v) { return rowOf (index).toNormalised (v); }
    float shownValue (int index, float n) { return rowOf (index).toShown (n); }
    float normalisedFromShown (int index, float shown) { return rowOf (index).fromShown (shown); }

    float normalisedFromStored (int index, float stored)
    {
        // Programs are converted with the 9980 of their making (see the header).
        if (index == ParameterLayout::splitFreqLow || index == ParameterLayout::splitFreqMid)
            return std::sqrt ((stored - lowestSplitFrequency) / 9980.0f);
        return rowOf (index).toNormalised (stored);
    }
}
} // namespace nadrix
