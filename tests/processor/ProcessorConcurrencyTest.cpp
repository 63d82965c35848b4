// SPDX-License-Identifier: GPL-3.0-or-later
// The processor as a host and its windows use it at once: one thread plays
// blocks while others write parameters as a host does, choose programs and
// restore states, reset it, and open, poll and close editor windows. Run
// under ThreadSanitizer by `make tsan`, where any unsynchronised access fails
// the run; in every build it checks that the output stays finite and that a
// closed window leaves nothing queued, whatever the host threads do meanwhile.
#include "processor/NadrixAudioProcessor.h"
#include "engine/NadrixViewdata.h"
#include "tests/processor/ProcessorTestHelpers.h"

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
    std::atomic<int> bursting { 0 }; // host threads writing a burst of values right now

    auto host = [&] (unsigned seed) {
        std::mt19937 rng (seed);
        auto& params = p.getParameters();
        for (int round = 0; ! stop.load(); ++round)
        {
            for (int k = 0; k < 40; ++k)
                params[(int) (rng() % 357)]->setValueNotifyingHost ((float) (rng() % 1000) / 1000.0f);
            // A burst, as a host applying automation to every parameter.
            ++bursting;
            for (auto* param : params)
                param->setValue ((float) (rng() % 1000) / 1000.0f);
            --bursting;
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

    // Windows open and close in balanced pairs, now and then two at once (a
    // host may open a second window before it closes the first). Every time
    // the last one closes, the queue must be empty and stay so while the host
    // threads go on writing: a change pushed by a host thread that saw the
    // window still open must not outlive its closing.
    int leftQueued = 0;
    float sink = 0.0f;
    for (int cycle = 0; cycle < 8000; ++cycle)
    {
        const bool twoWindows = cycle % 10 == 0;
        p.setUIPresent (true);
        if (twoWindows)
            p.setUIPresent (true);

        for (int poll = 0; poll < 3; ++poll)
        {
            if (p.hasParamChanges())
                for (const auto& change : p.getParamChanges())
                    sink += change.value;
            const auto* lines = p.getViewData();
            for (int j = 0; j < 50; ++j)
                sink += lines[j].delayTime.load() + lines[j].active.load();
            p.setParameterFromUI ((cycle + poll) % 357, 0.5f, true);
            sink += (float) p.getTailLengthSeconds();
        }

        // Closed while a host thread is in the middle of a burst of writes,
        // so that its pushes and the closing overlap.
        while (bursting.load() == 0)
            std::this_thread::yield();
        if (twoWindows)
            p.setUIPresent (false);
        p.setUIPresent (false);

        // A push that was under way lands meanwhile, or once its thread runs again.
        for (int look = 0; look < 20; ++look)
            leftQueued += p.hasParamChanges() ? 1 : 0;
    }

    stop.store (true);
    hostA.join();
    hostB.join();
    player.join();
    EXPECT_TRUE (std::isfinite (sink));
    EXPECT_EQ (leftQueued, 0) << "changes stayed queued with every window closed";
    EXPECT_FALSE (p.hasParamChanges());
}
} // namespace nadrix
