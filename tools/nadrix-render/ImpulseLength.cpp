// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/nadrix-render/ImpulseLength.h"

#include <algorithm>
#include <cmath>

namespace nadrix
{
juce::int64 ImpulseLength::framesWithinRange (const juce::AudioBuffer<float>& response)
{
    float peak = 0.0f;
    for (int ch = 0; ch < response.getNumChannels(); ++ch)
        peak = std::max (peak, response.getMagnitude (ch, 0, response.getNumSamples()));
    const auto threshold = (float) (peak * std::pow (10.0, fallDb / 20.0));
    for (int i = response.getNumSamples(); i-- > 0;)
        for (int ch = 0; ch < response.getNumChannels(); ++ch)
            if (std::abs (response.getSample (ch, i)) > threshold)
                return i + 1;
    return 0;
}

juce::Result ImpulseLength::render (double rate, double tailSeconds, const Run& run, juce::AudioBuffer<float>& response)
{
    constexpr double longestSeconds = 60.0;
    const auto longest = (juce::int64) (longestSeconds * rate);
    const auto tailFrames = juce::jmin (longest, (juce::int64) std::ceil (tailSeconds * rate) + 1);
    response.setSize (2, (int) longest, false, true);
    juce::int64 rendered = 0;
    const auto keep = [&] (const juce::AudioBuffer<float>& block) {
        for (int ch = 0; ch < 2; ++ch)
            response.copyFrom (ch, (int) rendered, block, ch, 0, block.getNumSamples());
        rendered += block.getNumSamples();
        return true;
    };

    if (auto r = run (juce::jmax (tailFrames, juce::jmin (longest, (juce::int64) rate)), keep); r.failed())
        return r;
    while (rendered < longest && framesWithinRange (response) > rendered - (juce::int64) rate)
        if (auto r = run (juce::jmin ((juce::int64) rate, longest - rendered), keep); r.failed())
            return r;

    const auto shortest = juce::jmin (rendered, (juce::int64) rate);
    response.setSize (2, (int) std::max ({ tailFrames, shortest, juce::jmin (rendered, framesWithinRange (response)) }), true);
    return juce::Result::ok();
}
} // namespace nadrix
