// SPDX-License-Identifier: GPL-3.0-or-later
// The processor as a host and its window use it at once: one thread plays
// blocks while others write parameters as a host does, choose programs and
// restore states, reset it, and poll its change queue and view records as an
// open editor does. Run under ThreadSanitizer by `make tsan`, where any
// unsynchronised access fails the run; without it, this checks that the
// output stays finite and the queue ends empty.
#include "NadrixAudioProcessor.h"
#include "ProcessorTestHelpers.h"

#include <gtest/gtest.h>

#include <atomic>
#include <random>
#include <thread>

TEST (ProcessorConcurrency, HostEditorAndAudioThreadsMeetSafely)
{
    NadrixAudioProcessor p;
    p.setRateAndBufferSizeDetails (44100.0, 256);
    p.prepareToPlay (44100.0, 256);
    juce::MemoryBlock state;
    p.getStateInformation (state);
    std::atomic<bool> stop { false };

    auto host = [&] (unsigned seed) {
        std::mt19937 rng (seed);
        auto& params = p.getParameters();
        for (int round = 0; ! stop.load(); ++round)
        {
            for (int k = 0; k < 40; ++k)
                params[(int) (rng() % 357)]->setValueNotifyingHost ((float) (rng() % 1000) / 1000.0f);
            if (round % 25 == 0)
                p.setCurrentProgram ((int) (rng() % 6));
            if (round % 40 == 10)
                p.setStateInformation (state.getData(), (int) state.getSize());
            if (round % 60 == 30)
                p.reset();
        }
    };

    auto editor = [&] {
        float sink = 0.0f;
        for (int round = 0; ! stop.load(); ++round)
        {
            if (round % 200 == 0)
                p.setUIPresent (true);
            if (p.hasParamChanges())
                for (const auto& change : p.getParamChanges())
                    sink += change.value;
            const auto* lines = p.getViewData();
            for (int j = 0; j < 50; ++j)
                sink += lines[j].delayTime.load() + lines[j].active.load();
            p.setParameterFromUI (round % 357, 0.5f, true);
            sink += (float) p.getTailLengthSeconds();
        }
        p.setUIPresent (false);
        EXPECT_TRUE (std::isfinite (sink));
    };

    std::thread hostA (host, 1u), hostB (host, 2u), window (editor);

    bool finite = true;
    for (int block = 0; block < 600; ++block)
    {
        auto audio = noiseBuffer (2, 256, (unsigned) block);
        juce::MidiBuffer midi;
        p.processBlock (audio, midi);
        for (int ch = 0; ch < 2; ++ch)
            for (int i = 0; i < 256; ++i)
                finite = finite && std::isfinite (audio.getSample (ch, i));
    }

    stop.store (true);
    hostA.join();
    hostB.join();
    window.join();
    EXPECT_TRUE (finite);
    EXPECT_FALSE (p.hasParamChanges()); // with the window closed the queue is empty and stays so
}
