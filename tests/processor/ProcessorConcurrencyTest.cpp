// SPDX-License-Identifier: GPL-3.0-or-later
// The processor as a host and its windows use it at once: one thread plays
// blocks while others write parameters as a host does, choose programs and
// restore states and reset it, and a window reads and writes them too. Run
// under ThreadSanitizer by `make tsan`, where any unsynchronised access fails
// the run; in every build it checks that the output stays finite and that,
// however the writes met, the engine ends holding each parameter's value.
#include "processor/NadrixAudioProcessor.h"
#include "engine/DelayLine.h"
#include "engine/ModLine.h"
#include "processor/ParameterInfo.h"
#include "tests/processor/ProcessorTestHelpers.h"
#include "engine/ParameterLayout.h"

#include <gtest/gtest.h>

#include <atomic>
#include <random>
#include <thread>

namespace nadrix
{
TEST (ProcessorConcurrency, HostEditorAndAudioThreadsMeetSafely)
{
    NadrixAudioProcessor p;
    p.setRateAndBufferSizeDetails (44100.0, 256);
    p.prepareToPlay (44100.0, 256);
    const auto state = stateOf (p);
    std::atomic<bool> stop { false };

    auto host = [&] (unsigned seed) {
        std::mt19937 rng (seed);
        auto& params = p.getParameters();
        for (int round = 0; ! stop.load(); ++round)
        {
            for (int k = 0; k < 40; ++k)
                params[(int) (rng() % ParameterLayout::numParameters)]->setValueNotifyingHost ((float) (rng() % 1000) / 1000.0f);
            // A burst, as a host applying automation to every parameter.
            for (auto* param : params)
                param->setValue ((float) (rng() % 1000) / 1000.0f);
            if (round % 25 == 0)
                p.setCurrentProgram ((int) (rng() % 6));
            if (round % 40 == 10)
                p.setStateInformation (state.getData(), (int) state.getSize());
            if (round % 60 == 30)
                p.reset();
        }
    };

    auto audio = [&] {
        bool finite = true;
        for (int block = 0; ! stop.load(); ++block)
        {
            auto buffer = noiseBuffer (2, 256, (unsigned) block % 16);
            juce::MidiBuffer midi;
            p.processBlock (buffer, midi);
            for (int ch = 0; ch < 2; ++ch)
                for (int i = 0; i < 256; ++i)
                    finite = finite && std::isfinite (buffer.getSample (ch, i));
        }
        EXPECT_TRUE (finite);
    };

    std::thread hostA (host, 1u), hostB (host, 2u), player (audio);

    // A window's side: it reads every value and every line, writes values of
    // its own and asks the tail, while the host threads write and the audio
    // thread plays.
    float sink = 0.0f;
    for (int cycle = 0; cycle < 8000; ++cycle)
    {
        for (int i = 0; i < ParameterLayout::numParameters; i += 7)
            sink += p.getParameterValue (i);
        for (int j = 0; j < 50; ++j)
        {
            const auto line = p.getLineView (j);
            sink += line.delayTime + line.active;
        }
        p.setParameterFromUI (cycle % ParameterLayout::numParameters, 0.5f, true);
        sink += (float) p.getTailLengthSeconds();
    }

    stop.store (true);
    hostA.join();
    hostB.join();
    player.join();
    EXPECT_TRUE (std::isfinite (sink));

    // However the writes met, the engine holds what each parameter holds.
    using namespace ParameterLayout;
    const auto rate = 44100.0f;
    for (int j = 0; j < numLines; ++j)
    {
        const auto held = [&p, j] (int kind) { return ParameterInfo::engineValue (indexOf (j, kind), p.getParameterValue (indexOf (j, kind))); };
        const auto line = p.getLineView (j);
        EXPECT_EQ (line.pan, held (pan)) << j;
        EXPECT_EQ (line.hcGain, held (hcGain)) << j;
        EXPECT_EQ (line.feedback, held (feedback)) << j;
        EXPECT_EQ (line.active, held (active)) << j;
        EXPECT_EQ (line.predelayGain, held (predelayGain)) << j;
        EXPECT_EQ (line.delayTime, DelayLine_Time_At_Rate (DelayLine_Length_At_Rate (held (delayTime), rate), rate)) << j;
        EXPECT_EQ (line.predelay, ModLine_Predelay_At_Rate (ModLine_Length_At_Rate (held (predelay), rate), rate)) << j;
    }
}
} // namespace nadrix
