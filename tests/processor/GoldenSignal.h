// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The fixed input the golden outputs are rendered from, and their checksum:
// JUCE only, so that a host built for another system (tests/windows) renders
// and sums exactly as the tests here do.
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
} // namespace nadrix
