// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/nadrix-render/WavWriter.h"

#include <cmath>
#include <cstring>

namespace nadrix
{
juce::uint64 WavWriter::riffLimit = 0xffffffffull;

namespace
{
    // "JUNK" after "WAVE": the room an RF64 file's ds64 chunk takes.
    constexpr juce::uint32 junkSize = 28;  // RIFF size, data size and frame count (8 bytes each) and a table length

    void put16 (std::vector<char>& to, juce::uint32 v) { for (int i = 0; i < 2; ++i) to.push_back ((char) (v >> (8 * i))); }
    void put32 (std::vector<char>& to, juce::uint32 v) { for (int i = 0; i < 4; ++i) to.push_back ((char) (v >> (8 * i))); }
    void put64 (std::vector<char>& to, juce::uint64 v) { for (int i = 0; i < 8; ++i) to.push_back ((char) (v >> (8 * i))); }
    void putId (std::vector<char>& to, const char* id) { to.insert (to.end(), id, id + 4); }

    // Full scale maps to the largest integer; beyond it, and anything not a number, is clipped or silenced.
    juce::int32 toInteger (float x, float fullScale)
    {
        if (! (x == x))
            return 0;
        return (juce::int32) std::lrint (juce::jlimit (-1.0f, 1.0f, x) * fullScale);
    }
}

WavWriter::WavWriter (OutputChannel& channel, int rate, int numChannels, int bitsPerSample)
    : out (channel), channels (numChannels), bits (bitsPerSample), sampleRate (rate)
{
}

bool WavWriter::start()
{
    return writeHeader (false);
}

bool WavWriter::writeHeader (bool sizesKnown)
{
    const bool isFloat = bits == 32;
    const juce::uint64 frames = dataBytes / (juce::uint64) (channels * bits / 8);
    const juce::uint64 fileBytes = 12 + 8 + junkSize + 8 + (isFloat ? 18 : 16) + (isFloat ? 12 : 0) + 8 + dataBytes + (dataBytes & 1);
    const bool rf64 = sizesKnown && fileBytes - 8 > riffLimit;
    // Unknown sizes, and RF64's in its ds64 chunk, read as all bits set.
    const auto size32 = [rf64, sizesKnown] (juce::uint64 v) { return rf64 || ! sizesKnown ? 0xffffffffu : (juce::uint32) v; };

    std::vector<char> h;
    putId (h, rf64 ? "RF64" : "RIFF");
    put32 (h, size32 (fileBytes - 8));
    putId (h, "WAVE");
    putId (h, rf64 ? "ds64" : "JUNK");
    put32 (h, junkSize);
    put64 (h, rf64 ? fileBytes - 8 : 0);
    put64 (h, rf64 ? dataBytes : 0);
    put64 (h, rf64 ? frames : 0);
    put32 (h, 0);

    putId (h, "fmt ");
    put32 (h, isFloat ? 18 : 16);
    put16 (h, isFloat ? 3 : 1); // IEEE float or integer PCM
    put16 (h, (juce::uint32) channels);
    put32 (h, (juce::uint32) sampleRate);
    put32 (h, (juce::uint32) (sampleRate * channels * bits / 8));
    put16 (h, (juce::uint32) (channels * bits / 8));
    put16 (h, (juce::uint32) bits);
    if (isFloat)
    {
        put16 (h, 0); // no extension, but its size is there, as non-integer formats have it
        putId (h, "fact");
        put32 (h, 4);
        put32 (h, size32 (frames));
    }
    putId (h, "data");
    put32 (h, size32 (dataBytes));

    return out.write (h.data(), h.size());
}

bool WavWriter::write (const float* interleaved, int numFrames)
{
    const size_t samples = (size_t) numFrames * (size_t) channels;
    const size_t bytesPerSample = (size_t) bits / 8;
    scratch.resize (samples * bytesPerSample);

    char* to = scratch.data();
    for (size_t i = 0; i < samples; ++i, to += bytesPerSample)
    {
        juce::uint32 word;
        if (bits == 32)
            std::memcpy (&word, interleaved + i, 4);
        else
            word = (juce::uint32) toInteger (interleaved[i], bits == 16 ? 32767.0f : 8388607.0f);
        for (size_t b = 0; b < bytesPerSample; ++b)
            to[b] = (char) (word >> (8 * b)); // little-endian on every machine
    }

    if (! out.write (scratch.data(), scratch.size()))
        return false;
    dataBytes += scratch.size();
    return true;
}

bool WavWriter::finish()
{
    const char pad = 0;
    if ((dataBytes & 1) != 0 && ! out.write (&pad, 1))
        return false;
    if (! out.canSeek())
        return true;
    const auto end = out.getPosition();
    return out.seekTo (0) && writeHeader (true) && out.seekTo (end);
}
} // namespace nadrix
