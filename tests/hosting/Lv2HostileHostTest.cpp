// SPDX-License-Identifier: GPL-3.0-or-later
// The LV2 plug-in through lilv, as headless hosts load it: under a hostile
// host that sets every control port in turn to values no sane host writes,
// and through a pre-delay step after different pasts.
#include "tests/hosting/HostileHostKit.h"
#include "tests/hosting/Lv2TestHost.h"
#include "tests/processor/PredelayStep.h"
#include "processor/ParameterInfo.h"
#include "engine/ParameterLayout.h"

#include <gtest/gtest.h>

namespace nadrix
{
namespace
{
    constexpr int block = 512;

    // A quarter of a second of noise, then silence: what is left after half
    // a second still sounds (the reverb rings) and is finite.
    bool stillRings (Lv2TestHost& host)
    {
        std::vector<float> left (block), right (block);
        double tail = 0.0;
        for (int b = 0; b < 86; ++b) // a second at 44.1 kHz
        {
            const bool input = b < 22;
            const auto noise = loudNoise (block, (unsigned) b);
            for (int i = 0; i < block; ++i)
                left[(size_t) i] = right[(size_t) i] = input ? 0.25f * noise[(size_t) i] : 0.0f;
            host.run (left.data(), right.data(), left.data(), right.data(), block);
            if (! boundedAndFinite (left.data(), block) || ! boundedAndFinite (right.data(), block))
                return false;
            if (b >= 43)
                for (int i = 0; i < block; ++i)
                    tail += (double) left[(size_t) i] * left[(size_t) i] + (double) right[(size_t) i] * right[(size_t) i];
        }
        return tail > 1.0e-6;
    }
}

TEST (Lv2HostileHost, EveryControlPortTakesAnyValueAndTheReverbRecovers)
{
    Lv2TestHost host (NADRIX_LV2_BUNDLE, NADRIX_LV2_URI_TEXT, 44100.0, block);
    ASSERT_EQ (host.failure(), "");
    ASSERT_TRUE (stillRings (host));

    const auto noise = loudNoise (block, 7);
    std::vector<float> left (block), right (block);
    int cases = 0;
    for (const auto& symbol : host.controlSymbols())
    {
        const float sane = host.control (symbol);
        for (const float value : hostileValues (host.minimum (symbol), host.maximum (symbol)))
        {
            host.setControl (symbol, value);
            left = noise;
            right = noise;
            host.run (left.data(), right.data(), left.data(), right.data(), block);
            ASSERT_TRUE (boundedAndFinite (left.data(), block) && boundedAndFinite (right.data(), block)) << symbol << " = " << value;
            ++cases;
        }
        host.setControl (symbol, sane);
        ASSERT_TRUE (stillRings (host)) << "silent or not finite after " << symbol << " came back to " << sane;
    }
    EXPECT_GE (cases, ParameterLayout::numParameters * 7);
}

TEST (Lv2Host, APreDelayStepSoundsTheSameWhateverTheInstanceHeardBefore)
{
    // Two sessions through the LV2 bundle that idled for different times
    // meet the same pre-delay step with the same sound, as in the processor.
    juce::AudioBuffer<float> heard[2];
    for (int i = 0; i < 2; ++i)
    {
        Lv2TestHost host (NADRIX_LV2_BUNDLE, NADRIX_LV2_URI_TEXT, PredelayStep::rate, PredelayStep::block);
        ASSERT_EQ (host.failure(), "");
        // Short tails, so that the idle times let them die away: three lines
        // with little feedback, the rest off.
        for (int line = 0; line < ParameterLayout::numLines; ++line)
        {
            host.setControl ("Active_Dly_" + std::to_string (line), 0.0f);
            host.setControl ("Feedback_Dly_" + std::to_string (line), 20.0f);
        }
        const auto play = [&host] (int frames, unsigned seed) {
            auto audio = PredelayStep::signal (frames, seed);
            for (int start = 0; start < frames; start += PredelayStep::block)
            {
                const int n = std::min (PredelayStep::block, frames - start);
                host.run (audio.getReadPointer (0, start), audio.getReadPointer (1, start), audio.getWritePointer (0, start), audio.getWritePointer (1, start), n);
            }
            return audio;
        };
        // The ports are in the parameters' own units: milliseconds, and on or off.
        const auto write = [&host] (int index, float normalised) {
            const auto symbol = juce::String (ParameterInfo::name (index)).replaceCharacter (' ', '_').toStdString();
            host.setControl (symbol, ParameterLayout::kindOf (index) == ParameterLayout::predelay ? normalised * 1000.0f : normalised);
        };
        heard[i] = PredelayStep::session (play, write, PredelayStep::idleFrames[i]);
    }
    EXPECT_GT (heard[0].getMagnitude (0, PredelayStep::rate, 2 * PredelayStep::rate), 0.01f);
    for (int ch = 0; ch < 2; ++ch)
        for (int i = 0; i < heard[0].getNumSamples(); ++i)
            ASSERT_EQ (heard[0].getSample (ch, i), heard[1].getSample (ch, i)) << "channel " << ch << ", frame " << i;
}
} // namespace nadrix
