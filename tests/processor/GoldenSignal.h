// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The fixed input the golden outputs are rendered from, and their checksum:
// JUCE only, so that a host built for another system (tests/windows) renders
// and sums exactly as the tests here do.
#include "tests/processor/GoldenCases.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <cstdint>
#include <cstring>

namespace nadrix
{
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

// The golden signal (GoldenCases.h) in a buffer.
inline juce::AudioBuffer<float> testSignal (int channels, int frames)
{
    juce::AudioBuffer<float> buffer (channels, frames);
    GoldenSignal signal (channels);
    for (int i = 0; i < frames; ++i)
        for (int ch = 0; ch < channels; ++ch)
            buffer.setSample (ch, i, signal.next());
    return buffer;
}

// The golden checksum of a buffer, frame by frame.
inline std::uint64_t checksumOf (const juce::AudioBuffer<float>& audio)
{
    GoldenChecksum sum;
    for (int i = 0; i < audio.getNumSamples(); ++i)
        for (int ch = 0; ch < audio.getNumChannels(); ++ch)
            sum.add (audio.getSample (ch, i));
    return sum.value();
}
} // namespace nadrix
