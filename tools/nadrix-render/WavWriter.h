// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <juce_core/juce_core.h>

#include <cstdio>
#include <memory>
#include <vector>

namespace nadrix
{
// Writes a WAV file the way every reader takes it without a complaint: 16
// and 24-bit integer or 32-bit float samples, a float file's format chunk
// with its (empty) extension and a fact chunk, and room kept at the front so
// that a file growing past 4 GiB becomes RF64 when it is finished instead of
// breaking its sizes.
class WavWriter
{
public:
    // On failure returns nothing and `error` says why, in the system's words.
    static std::unique_ptr<WavWriter> create (const juce::File& file, int sampleRate, int channels, int bitsPerSample, juce::String& error);
    ~WavWriter();

    // Interleaved frames, full scale at +-1 (clipped there for integer samples).
    bool write (const float* interleaved, int numFrames);
    // Writes the sizes into the header and closes the file.
    bool finish();

    // Where the sizes start to need RF64; a test may lower it.
    static juce::uint64 riffLimit;

private:
    WavWriter() = default;
    bool writeHeader();

    std::FILE* out = nullptr;
    int channels = 0, bits = 0, sampleRate = 0;
    juce::uint64 dataBytes = 0;
    std::vector<char> scratch;
};
} // namespace nadrix
