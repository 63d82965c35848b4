// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "processor/NadrixAudioProcessor.h"

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

// Runs a whole buffer through a processor in blocks, as a host would.
inline void processInBlocks (juce::AudioProcessor& p, juce::AudioBuffer<float>& buffer, int blockSize)
{
    juce::MidiBuffer midi;
    for (int start = 0; start < buffer.getNumSamples(); start += blockSize)
    {
        const int n = juce::jmin (blockSize, buffer.getNumSamples() - start);
        juce::AudioBuffer<float> block (buffer.getArrayOfWritePointers(), buffer.getNumChannels(), start, n);
        p.processBlock (block, midi);
    }
}

// A unit impulse on both channels, then noise from a fixed generator of our
// own (so the signal does not depend on the standard library's distributions).
inline juce::AudioBuffer<float> testSignal (int channels, int frames)
{
    juce::AudioBuffer<float> buffer (channels, frames);
    std::uint32_t state = 2463534242u;
    for (int i = 0; i < frames; ++i)
        for (int ch = 0; ch < channels; ++ch)
        {
            state ^= state << 13;
            state ^= state >> 17;
            state ^= state << 5;
            buffer.setSample (ch, i, i == 0 ? 1.0f : (float) (state >> 8) / 16777216.0f - 0.5f);
        }
    return buffer;
}

// FNV-1a over the bit patterns of every sample, frame by frame.
inline std::uint64_t checksumOf (const juce::AudioBuffer<float>& audio)
{
    std::uint64_t hash = 14695981039346656037ull;
    for (int i = 0; i < audio.getNumSamples(); ++i)
        for (int ch = 0; ch < audio.getNumChannels(); ++ch)
        {
            std::uint32_t bits;
            const float sample = audio.getSample (ch, i);
            std::memcpy (&bits, &sample, sizeof (bits));
            for (int b = 0; b < 4; ++b)
                hash = (hash ^ ((bits >> (8 * b)) & 0xffu)) * 1099511628211ull;
        }
    return hash;
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
