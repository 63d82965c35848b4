// SPDX-License-Identifier: GPL-3.0-or-later
// The sound itself, pinned: every factory program renders a fixed input to
// a fixed checksum. A change of any output bit fails here, naming the case;
// a deliberate change of the sound updates the table below, with the reason
// in the commit message. NADRIX_PRINT_GOLDEN=1 prints the table as it is now.
#include "processor/NadrixAudioProcessor.h"
#include "tests/processor/ProcessorTestHelpers.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <iostream>

namespace nadrix
{
namespace
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

    // 66150 frames of an impulse followed by noise, in 512-frame blocks.
    const GoldenCase goldenCases[] = {
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

    constexpr int goldenFrames = 66150;

    std::uint64_t renderChecksum (const GoldenCase& c)
    {
        NadrixAudioProcessor p;
        const auto in = c.monoInput ? juce::AudioChannelSet::mono() : juce::AudioChannelSet::stereo();
        EXPECT_TRUE (p.setBusesLayout ({ { in }, { juce::AudioChannelSet::stereo() } }));
        p.setRateAndBufferSizeDetails (c.rate, 512);
        p.prepareToPlay (c.rate, 512);
        p.setCurrentProgram (c.program);
        if (c.mix >= 0.0f)
            p.getParameters()[0]->setValueNotifyingHost (c.mix);

        auto audio = testSignal (2, goldenFrames);
        if (c.monoInput)
            audio.clear (1, 0, goldenFrames); // what a mono track leaves in the second channel
        processInBlocks (p, audio, 512);
        return checksumOf (audio);
    }
}

TEST (GoldenOutput, EveryFactoryProgramSoundsExactlyAsPinned)
{
    const bool print = std::getenv ("NADRIX_PRINT_GOLDEN") != nullptr;

    for (const auto& c : goldenCases)
    {
        const auto name = factoryProgramNames[c.program] + c.variant;
        const auto actual = renderChecksum (c);
        if (print)
            std::cout << "        { \"" << c.variant << "\", " << c.program << ", " << (c.monoInput ? "true" : "false") << ", "
                      << juce::String (c.mix, 2) << "f, " << juce::String (c.rate, 1) << ", 0x" << juce::String::toHexString ((juce::int64) actual).paddedLeft ('0', 16) << "ull },\n";

        EXPECT_EQ (actual, c.checksum)
            << "the golden output of \"" << name << "\" changed (checksum 0x" << juce::String::toHexString ((juce::int64) actual)
            << "). If this change of sound is intended, update the table in " << __FILE__ << " and say why in the commit message.";
    }
}
} // namespace nadrix
