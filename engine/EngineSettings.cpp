// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/EngineSettings.h"

#include "engine/ConstructionTable.h"
#include "engine/DelayLine.h"
#include "engine/ModLine.h"

namespace nadrix
{
namespace
{
    constexpr auto relaxed = std::memory_order_relaxed;
    constexpr auto acquire = std::memory_order_acquire;
    constexpr auto release = std::memory_order_release;
    constexpr auto sequential = std::memory_order_seq_cst;
}

EngineSettings::EngineSettings (float sampleRate)
    : mix (ConstructionGlobals[ParameterLayout::mix]),
      midSplitFrequency (ConstructionGlobals[ParameterLayout::splitFreqMid]),
      lowSplitFrequency (ConstructionGlobals[ParameterLayout::splitFreqLow]),
      gainLow (ConstructionGlobals[ParameterLayout::gainLow]),
      gainMid (ConstructionGlobals[ParameterLayout::gainMid]),
      gainHigh (ConstructionGlobals[ParameterLayout::gainHigh]),
      settingsRate (sampleRate)
{
    using namespace ParameterLayout;
    for (int j = 0; j < numLines; ++j)
    {
        const float* d = ConstructionTable + indexOf (j, 0);
        LineRequest& r = requests[j];
        r.pan.store (d[pan], relaxed);
        r.hcGain.store (d[ParameterLayout::hcGain], relaxed);
        r.feedback.store (d[feedback], relaxed);
        r.predelay.store (d[predelay], relaxed);
        r.delayTime.store (d[delayTime], relaxed);
        r.delayLength.store (DelayLine_Length_At_Rate (d[delayTime], sampleRate), relaxed);
        r.active.store (d[ParameterLayout::active], relaxed);
        r.predelayGain.store (d[ParameterLayout::predelayGain], relaxed);
    }
}

EngineSettings::Stored EngineSettings::store (int index, float value) noexcept
{
    using namespace ParameterLayout;

    switch (index)
    {
        case ParameterLayout::mix:     mix.store (value, relaxed); return {};
        case splitFreqLow:             lowSplitFrequency.store (value, relaxed); requestTakeOver (splitChanged); return {};
        case splitFreqMid:             midSplitFrequency.store (value, relaxed); requestTakeOver (splitChanged); return {};
        case ParameterLayout::gainLow: gainLow.store (value, relaxed); return {};
        case ParameterLayout::gainMid: gainMid.store (value, relaxed); return {};
        case ParameterLayout::gainHigh: gainHigh.store (value, relaxed); return {};
        default: break;
    }

    if (index < numGlobals || index >= numParameters)
        return {};

    const int j = lineOf (index);
    LineRequest& r = requests[j];
    const int kind = kindOf (index);
    switch (kind)
    {
        case pan:                           r.pan.store (value, relaxed); break;
        case ParameterLayout::hcGain:       r.hcGain.store (value, relaxed); break;
        case feedback:                      r.feedback.store (value, relaxed); break;
        case predelay:                      r.predelay.store (value, sequential); break;
        case ParameterLayout::active:       r.active.store (value, relaxed); break;
        case ParameterLayout::predelayGain: r.predelayGain.store (value, relaxed); break;
        case delayTime:
        {
            // A new length empties the ring; the clearing itself happens on
            // the audio thread, before the line's next sample. The flag keeps
            // a change that is undone before the next block (A to B to A).
            r.delayTime.store (value, sequential);
            const int32_t length = DelayLine_Length_At_Rate (value, settingsRate.load (relaxed));
            if (r.delayLength.exchange (length, relaxed) != length)
                r.clearRing.store (true, release);
            break;
        }
        default: break;
    }
    return { j, kind == predelay || kind == delayTime };
}

uint64_t EngineSettings::takePending() noexcept
{
    if (pending.load (relaxed) == 0)
        return 0;
    return pending.exchange (0, acquire);
}

NadrixViewdata EngineSettings::lineView (int line) const noexcept
{
    NadrixViewdata v;
    if (line < 0 || line >= numLines)
        return v;

    const LineRequest& r = requests[line];
    v.pan = r.pan.load (relaxed);
    v.hcGain = r.hcGain.load (relaxed);
    v.feedback = r.feedback.load (relaxed);
    v.active = r.active.load (relaxed);
    v.predelayGain = r.predelayGain.load (relaxed);

    // Times as realised in whole samples at the rate the lines run at.
    const float lineRate = settingsRate.load();
    const float predelayRate = ModLine_Clamped_Rate (lineRate);
    v.predelay = ModLine_Predelay_At_Rate (ModLine_Length_At_Rate (r.predelay.load (relaxed), predelayRate), predelayRate);
    v.delayTime = DelayLine_Time_At_Rate (DelayLine_Length_At_Rate (r.delayTime.load (relaxed), lineRate), lineRate);
    return v;
}

void EngineSettings::changeRate (float sampleRate) noexcept
{
    settingsRate.store (sampleRate);
    for (auto& r : requests)
        r.delayLength.store (DelayLine_Length_At_Rate (r.delayTime.load (relaxed), sampleRate), relaxed);
}
} // namespace nadrix
