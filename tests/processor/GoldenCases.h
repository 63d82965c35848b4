// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The golden outputs: every factory program renders a fixed input to a fixed
// checksum. Free of JUCE, so that hosts of the plug-in's other builds (LV2,
// aarch64 under qemu) render and sum exactly as the processor's test does.
#include <cstdint>
#include <cstring>

namespace nadrix
{
struct GoldenCase
{
    const char* variant; // what differs from the program as a host plays it
    int program;
    bool monoInput;
    float mix;          // below 0: the program's own
    double rate;
    std::uint64_t checksum;
};

// 66150 frames of the golden signal, in 512-frame blocks.
inline constexpr GoldenCase goldenCases[] = {
    { "", 0, false, -1.00f, 44100.0, 0x931a109eb7469b16ull },
    { "", 1, false, -1.00f, 44100.0, 0x727eb2e935a55683ull },
    { "", 2, false, -1.00f, 44100.0, 0xbb849c2cda69048full },
    { "", 3, false, -1.00f, 44100.0, 0x54fa359debb9d0deull },
    { "", 4, false, -1.00f, 44100.0, 0xc08124a7133622baull },
    { "", 5, false, -1.00f, 44100.0, 0xbed697b4a8604a80ull },
    { " on a mono track", 1, true, -1.00f, 44100.0, 0x83256ec8cb42bb40ull },
    { " at Mix 0.25", 4, false, 0.25f, 44100.0, 0x8b5e3cfb68a45401ull },
    { " at 48 kHz", 1, false, -1.00f, 48000.0, 0x984d780c897b6684ull },
    { " at 96 kHz", 2, false, -1.00f, 96000.0, 0xdc16fd0e46c3f83aull },
};

inline constexpr int goldenFrames = 66150;
inline constexpr int goldenBlock = 512;

// The golden signal: a unit impulse on every channel, then noise from a
// fixed generator of our own (so the signal does not depend on the standard
// library's distributions), frame by frame, channel by channel.
class GoldenSignal
{
public:
    float next()
    {
        const bool impulse = sample++ < channels;
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return impulse ? 1.0f : (float) (state >> 8) / 16777216.0f - 0.5f;
    }

    explicit GoldenSignal (int numChannels) : channels (numChannels) {}

private:
    int channels;
    long sample = 0;
    std::uint32_t state = 2463534242u;
};

// FNV-1a over the bit patterns of every sample, in the order they are added
// (frame by frame, channel by channel).
class GoldenChecksum
{
public:
    void add (float sample)
    {
        std::uint32_t bits;
        std::memcpy (&bits, &sample, sizeof (bits));
        for (int b = 0; b < 4; ++b)
            hash = (hash ^ ((bits >> (8 * b)) & 0xffu)) * 1099511628211ull;
    }

    std::uint64_t value() const { return hash; }

private:
    std::uint64_t hash = 14695981039346656037ull;
};
} // namespace nadrix
