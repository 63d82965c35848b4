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
        { "Mix", "Mix", "Mix", Unit::mixPercent, same, same, percent, fromPercent, 0.0f, 100.0f, "pc", true },
        { "Split Freq LOW", "Split Freq LOW", "Split_Freq_LOW", Unit::hertz, splitFrequency, fromSplitFrequency, splitFrequency, fromSplitFrequency,
          lowestSplitFrequency, lowestSplitFrequency + splitFrequencySpan, "hz", true },
        { "Split Freq MID", "Split Freq MID", "Split_Freq_MID", Unit::hertz, splitFrequency, fromSplitFrequency, splitFrequency, fromSplitFrequency,
          lowestSplitFrequency, lowestSplitFrequency + splitFrequencySpan, "hz", true },
        { "Gain Low", "Gain Low", "Gain_Low", Unit::gain, bandGain, fromBandGain, bandGain, fromBandGain, 0.0f, highestBandGain, "coef", true },
        { "Gain Mid", "Gain Mid", "Gain_Mid", Unit::gain, bandGain, fromBandGain, bandGain, fromBandGain, 0.0f, highestBandGain, "coef", true },
        { "Gain High", "Gain High", "Gain_High", Unit::gain, bandGain, fromBandGain, bandGain, fromBandGain, 0.0f, highestBandGain, "coef", true },
        // The zoom of the window's fan view is not sound: hosts leave it out
        // of their automation lists. It is still saved, restored and set by programs.
        { "UI Zoom", "UI Zoom", "UI_Zoom", Unit::zoom, same, same, zoom, fromZoom, lowestZoom, lowestZoom + zoomRange, "coef", false },
    };

    // The seven kinds of a line, in kind order; the stem takes the line number.
    const Row perLine[ParameterLayout::perLine] = {
        { "Pan Dly ", "Pan Dly ", "Pan_Dly_", Unit::pan, pan, fromPan, panPercent, fromPanPercent, -100.0f, 100.0f, "pc", true },
        { "HC Gain Dly ", "HC Gain Dly ", "HC_Gain_Dly_", Unit::percent, same, same, percent, fromPercent, 0.0f, 100.0f, "pc", true },
        { "Feedback Dly ", "Feedback Dly ", "Feedback_Dly_", Unit::feedbackPercent, feedback, same, percent, fromPercent, 0.0f, 100.0f, "pc", true },
        { "Predelay Dly ", "Predelay Dly ", "Predelay_Dly_", Unit::milliseconds, same, same, milliseconds, fromMilliseconds, 0.0f, 1000.0f, "ms", true },
        { "Delay time Dly ", "Delay time Dly ", "Delay_time_Dly_", Unit::delayMilliseconds, same, same, milliseconds, fromMilliseconds, 0.0f, 1000.0f, "ms", true },
        { "Active Dly ", "Active Dly ", "Active_Dly_", Unit::onOff, same, same, same, same, 0.0f, 1.0f, "", true },
        { "Predelay gain Dly ", "Predelay gain Dly ", "Predelay_gain_Dly_", Unit::percent, same, same, percent, fromPercent, 0.0f, 100.0f, "pc", true },
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

    // A global's text, or a line's stem and number.
    std::string textOf (int index, const char* Row::*text)
    {
        if (! isValidIndex (index))
            return {};
        if (index < ParameterLayout::numGlobals)
            return globals[index].*text;
        return perLine[ParameterLayout::kindOf (index)].*text + std::to_string (ParameterLayout::lineOf (index));
    }

    std::string name (int index) { return textOf (index, &Row::name); }
    std::string id (int index) { return textOf (index, &Row::id); }
    std::string symbol (int index) { return textOf (index, &Row::symbol); }

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
