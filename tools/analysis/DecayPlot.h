// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/analysis/DecayAnalysis.h"

#include <juce_graphics/juce_graphics.h>

namespace nadrix
{
// One picture of a decay, readable at a glance, in the colours of the
// plug-in's artwork: the energy decay curves per octave band with their T30
// lines, the broadband echogram, and a spectrogram of the impulse response.
namespace DecayPlot
{
    constexpr int width = 1200, height = 900;

    juce::Image draw (const DecayAnalysis& analysis, const juce::AudioBuffer<float>& response, const juce::String& settings);
    juce::Result write (const juce::Image& plot, const juce::File& file);
}
} // namespace nadrix
