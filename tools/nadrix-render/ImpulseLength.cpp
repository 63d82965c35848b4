// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/nadrix-render/ImpulseLength.h"

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
} // namespace nadrix
