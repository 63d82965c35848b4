// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "processor/NadrixAudioProcessor.h"
#include "tests/processor/GoldenSignal.h"

#include <cstdint>
#include <cstring>
#include <random>
#include <utility>
#include <vector>

namespace nadrix
{
// The factory programs, as a host lists them.
inline const juce::StringArray factoryProgramNames { "Bright Ambience", "Nice Hall", "Robotizer", "Sheep Spring Reverb", "Small Drum Booth", "Small Complex Room" };

// What the host is told of value changes.
struct HostListener : juce::AudioProcessorListener
{
    std::vector<std::pair<int, float>> changes;
    void audioProcessorParameterChanged (juce::AudioProcessor*, int index, float value) override { changes.push_back ({ index, value }); }
    void audioProcessorChanged (juce::AudioProcessor*, const ChangeDetails&) override {}
};

// Stereo noise, the same for the same seed.
inline juce::AudioBuffer<float> noiseBuffer (int channels, int frames, unsigned seed)
{
    juce::AudioBuffer<float> buffer (channels, frames);
    std::mt19937 rng (seed);
    std::uniform_real_distribution<float> d (-0.5f, 0.5f);
    for (int ch = 0; ch < channels; ++ch)
        for (int i = 0; i < frames; ++i)
            buffer.setSample (ch, i, d (rng));
    return buffer;
}

// A unit impulse at the first frame of every channel, silence after it.
inline juce::AudioBuffer<float> impulseBuffer (int channels, int frames)
{
    juce::AudioBuffer<float> buffer (channels, frames);
    buffer.clear();
    for (int ch = 0; ch < channels; ++ch)
        buffer.setSample (ch, 0, 1.0f);
    return buffer;
}

// The state a host would save.
inline juce::MemoryBlock stateOf (juce::AudioProcessor& p)
{
    juce::MemoryBlock state;
    p.getStateInformation (state);
    return state;
}

inline bool identical (const juce::AudioBuffer<float>& a, const juce::AudioBuffer<float>& b)
{
    if (a.getNumChannels() != b.getNumChannels() || a.getNumSamples() != b.getNumSamples())
        return false;
    for (int ch = 0; ch < a.getNumChannels(); ++ch)
        if (std::memcmp (a.getReadPointer (ch), b.getReadPointer (ch), sizeof (float) * (size_t) a.getNumSamples()) != 0)
            return false;
    return true;
}
} // namespace nadrix
