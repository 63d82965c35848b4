// SPDX-License-Identifier: GPL-3.0-or-later
// The sound itself, pinned: every factory program renders a fixed input to
// a fixed checksum. A change of any output bit fails here, naming the case;
// a deliberate change of the sound updates the table in GoldenCases.h, with the reason
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
            << "). If this change of sound is intended, update the table in tests/processor/GoldenCases.h and say why in the commit message.";
    }
}
} // namespace nadrix
