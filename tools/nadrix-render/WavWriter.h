// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/nadrix-render/OutputChannel.h"

#include <juce_core/juce_core.h>

#include <vector>

namespace nadrix
{
// Writes a WAV file the way every reader takes it without a complaint: 16
// and 24-bit integer or 32-bit float samples, a float file's format chunk
// with its (empty) extension and a fact chunk, and room kept at the front so
// that a file growing past 4 GiB becomes RF64 when it is finished instead of
// breaking its sizes. Its header first gives the sizes as unknown (all bits
// set), as a WAV in a pipe has them, and is written again with the real
// sizes at the end wherever the channel can go back.
class WavWriter
{
public:
    WavWriter (OutputChannel& channel, int sampleRate, int channels, int bitsPerSample);

    // The header; false when it cannot be written.
    bool start();
    // Interleaved frames, full scale at +-1 (clipped there for integer samples).
    bool write (const float* interleaved, int numFrames);
    // The sizes into the header, where the channel can go back to it.
    bool finish();

    // Where the sizes start to need RF64; a test may lower it.
    static juce::uint64 riffLimit;

private:
    bool writeHeader (bool sizesKnown);

    OutputChannel& out;
    const int channels, bits, sampleRate;
    juce::uint64 dataBytes = 0;
    std::vector<char> scratch;
};
} // namespace nadrix
