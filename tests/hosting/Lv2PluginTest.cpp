// SPDX-License-Identifier: GPL-3.0-or-later
// The LV2 plug-in through lilv, as hosts use it: its presets against the
// golden outputs, a state 0.3.0 saved, its ports as the only store of
// values, and run() free of page faults while lengths grow.
#include "tests/SanitizedBuild.h"
#include "tests/hosting/Lv2TestHost.h"
#include "processor/FactoryPrograms.h"
#include "processor/NadrixAudioProcessor.h"
#include "processor/ParameterInfo.h"
#include "tests/processor/GoldenCases.h"
#include "tests/processor/ProcessorTestHelpers.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace nadrix
{
namespace
{
    constexpr int block = 512;

    std::unique_ptr<Lv2TestHost> load (double rate, bool worker = true)
    {
        auto host = std::make_unique<Lv2TestHost> (NADRIX_LV2_BUNDLE, NADRIX_LV2_URI_TEXT, rate, block, worker);
        EXPECT_EQ (host->failure(), "");
        return host;
    }

    // The golden signal through the host, summed as the golden outputs are.
    std::uint64_t goldenChecksum (Lv2TestHost& host, int frames = goldenFrames)
    {
        GoldenSignal signal (2);
        GoldenChecksum sum;
        std::vector<float> left (block), right (block);
        for (int start = 0; start < frames; start += block)
        {
            const int n = std::min (block, frames - start);
            for (int i = 0; i < n; ++i)
            {
                left[(size_t) i] = signal.next();
                right[(size_t) i] = signal.next();
            }
            host.run (left.data(), right.data(), left.data(), right.data(), n);
            for (int i = 0; i < n; ++i)
            {
                sum.add (left[(size_t) i]);
                sum.add (right[(size_t) i]);
            }
        }
        return sum.value();
    }

    std::uint64_t goldenChecksum (NadrixAudioProcessor& p, int frames)
    {
        auto audio = testSignal (2, frames);
        processInBlocks (p, audio, block);
        return checksumOf (audio);
    }

    void runNoise (Lv2TestHost& host, int blocks, unsigned seed)
    {
        for (int b = 0; b < blocks; ++b)
        {
            auto audio = noiseBuffer (2, block, seed + (unsigned) b);
            host.run (audio.getReadPointer (0), audio.getReadPointer (1), audio.getWritePointer (0), audio.getWritePointer (1), block);
        }
    }

    std::string savedBy030()
    {
        std::ifstream file (NADRIX_SOURCE_DIR "/tests/hosting/data/state-0.3.0.ttl");
        std::stringstream text;
        text << file.rdbuf();
        return text.str();
    }
}

TEST (Lv2Plugin, EveryPresetSoundsAsTheGoldenOutputs)
{
    for (const auto& c : goldenCases)
    {
        if (c.monoInput)
            continue; // the LV2 plug-in has two inputs, and a mono host feeds both
        auto host = load (c.rate);
        ASSERT_TRUE (host->applyPreset (FactoryPrograms::names[c.program])) << FactoryPrograms::names[c.program];
        if (c.mix >= 0.0f)
            host->setControl ("Mix", ParameterInfo::shownValue (ParameterLayout::mix, c.mix));
        EXPECT_EQ (goldenChecksum (*host), c.checksum) << FactoryPrograms::names[c.program] << c.variant;
    }
}

TEST (Lv2Plugin, AStateThatRelease030SavedRestoresItsValuesAndItsSound)
{
    // The state holds the ports and, beside them, 0.3.0's chunk of every
    // value. Restored into an instance that has played and whose host moved
    // a port first, it sounds as the processor restoring that chunk.
    const auto turtle = savedBy030();
    ASSERT_NE (turtle.find ("StateString"), std::string::npos);
    auto host = load (48000.0);
    runNoise (*host, 20, 1);
    host->setControl ("Mix", 60.0f);
    host->restoreState (turtle);
    EXPECT_EQ (host->control ("Mix"), 42.5f);
    EXPECT_FLOAT_EQ (host->control ("Predelay_Dly_3"), 311.0f);
    EXPECT_EQ (host->control ("Gain_Low"), 1.5f);
    EXPECT_EQ (host->control ("Active_Dly_40"), 1.0f);

    const auto text = juce::String (turtle).fromFirstOccurrenceOf ("StateString> \"", false, false).upToFirstOccurrenceOf ("\"", false, false);
    juce::MemoryBlock chunk;
    ASSERT_TRUE (chunk.fromBase64Encoding (text));
    ASSERT_EQ (chunk.getSize(), 1428u);
    NadrixAudioProcessor local;
    local.setRateAndBufferSizeDetails (48000.0, block);
    local.prepareToPlay (48000.0, block);
    local.setStateInformation (chunk.getData(), (int) chunk.getSize());
    EXPECT_EQ (goldenChecksum (*host, 48000), goldenChecksum (local, 48000));
}

TEST (Lv2Plugin, ItsPortsHoldEveryValueAndAStateSavedNowHoldsNothingElse)
{
    auto host = load (44100.0);
    ASSERT_TRUE (host->applyPreset ("Robotizer"));
    runNoise (*host, 4, 2);
    host->setControl ("Mix", 33.0f);
    host->setControl ("Delay_time_Dly_2", 123.0f);
    runNoise (*host, 1, 3);
    const auto saved = host->saveState();
    EXPECT_EQ (saved.find ("StateString"), std::string::npos);
    EXPECT_EQ (saved.find ("nadrix:Program"), std::string::npos);

    // A session reopened from it, its ports alone: a fresh instance sounds
    // exactly as a fresh processor given the program and the two values.
    auto reopened = load (44100.0);
    reopened->restoreState (saved);
    EXPECT_EQ (reopened->control ("Mix"), 33.0f);
    NadrixAudioProcessor local;
    local.setRateAndBufferSizeDetails (44100.0, block);
    local.prepareToPlay (44100.0, block);
    local.setCurrentProgram (2); // "Robotizer"
    for (const int i : { (int) ParameterLayout::mix, ParameterLayout::indexOf (2, ParameterLayout::delayTime) })
        local.getParameters()[i]->setValueNotifyingHost (ParameterInfo::normalisedFromShown (i, reopened->control (ParameterInfo::symbol (i))));
    EXPECT_EQ (goldenChecksum (*reopened, 44100), goldenChecksum (local, 44100));
}

TEST (Lv2Plugin, RunTakesNoPageFaultAfterPresetsOrWhileLinesGrow)
{
#if NADRIX_SANITIZED
    GTEST_SKIP() << "a sanitizer's shadow memory is first touched on the audio thread";
#endif
    auto host = load (44100.0);
    runNoise (*host, 20, 4);
    const auto runsWithoutFaults = [&host] (const std::string& what) {
        for (int b = 0; b < 8; ++b)
        {
            runNoise (*host, 1, 10 + (unsigned) b);
            EXPECT_EQ (host->runPageFaults(), 0) << what << ", block " << b;
        }
    };
    for (const auto* name : FactoryPrograms::names)
    {
        ASSERT_TRUE (host->applyPreset (name));
        runsWithoutFaults (name);
    }
    // The longest pre-delays and delays the lines have: memory the worker backs.
    for (int line = 0; line < ParameterLayout::numLines; line += 7)
    {
        host->setControl ("Active_Dly_" + std::to_string (line), 1.0f);
        host->setControl ("Predelay_Dly_" + std::to_string (line), 999.0f);
        host->setControl ("Delay_time_Dly_" + std::to_string (line), 499.0f);
    }
    runsWithoutFaults ("lines grown to their longest");
}
} // namespace nadrix
