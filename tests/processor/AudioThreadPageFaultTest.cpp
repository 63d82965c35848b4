// SPDX-License-Identifier: GPL-3.0-or-later
// The rings are backed with memory only as far as the lines reach, so every
// change made off the audio thread must back what it needs before the audio
// thread runs it: a first touch of a page on the audio thread is a page
// fault, a stall of microseconds to milliseconds in the middle of a block.
#include "tests/processor/ProcessorTestHelpers.h"
#include "tests/SanitizedBuild.h"

#include "processor/FactoryPrograms.h"
#include "engine/ParameterLayout.h"

#include <gtest/gtest.h>

#include <sys/resource.h>

namespace nadrix
{
namespace
{
    long faultsOfThisThread()
    {
        rusage usage {};
        getrusage (RUSAGE_THREAD, &usage);
        return usage.ru_minflt + usage.ru_majflt;
    }

    struct Running
    {
        explicit Running (double rate) : block (noiseBuffer (2, 512, 5))
        {
            p.setRateAndBufferSizeDetails (rate, 512);
            p.prepareToPlay (rate, 512);
            run (40); // the block and the engine's own scratch touched once
        }

        // Faults the audio thread takes over `blocks` blocks.
        long run (int blocks)
        {
            const long before = faultsOfThisThread();
            for (int b = 0; b < blocks; ++b)
                p.processBlock (block, midi);
            return faultsOfThisThread() - before;
        }

        NadrixAudioProcessor p;
        juce::AudioBuffer<float> block;
        juce::MidiBuffer midi;
    };
}

TEST (AudioThreadPageFaults, NoneAfterAProgramARestoreOrAnEditFromTheWindow)
{
#if NADRIX_SANITIZED
    GTEST_SKIP() << "a sanitizer's shadow memory is first touched on the audio thread";
#endif
    using namespace ParameterLayout;

    // Every step makes fresh lines or longer ones, so every pass needs new
    // memory backed; the first pass runs each piece of code once, so that
    // the second counts no fault of the program's own code being mapped.
    auto faults = [] (Running& r, int blocks, bool counted) { const long n = r.run (blocks); return counted ? n : 0; };
    for (double rate : { 44100.0, 96000.0 })
        for (bool counted : { false, true })
        {
            Running r (rate);
            for (int program : { 2, 1, 0, 3, 4, 5 })
            {
                r.p.setCurrentProgram (program);
                EXPECT_EQ (faults (r, 90, counted), 0) << "after program " << program << " at " << rate << " Hz";
            }

            r.p.setCurrentProgram (2);
            const auto robotizer = stateOf (r.p);
            r.p.setCurrentProgram (4);
            r.run (2);
            r.p.setStateInformation (robotizer.getData(), (int) robotizer.getSize());
            EXPECT_EQ (faults (r, 90, counted), 0) << "after a restore at " << rate << " Hz";

            // The window drags every line to its longest delay and pre-delay.
            for (int line = 0; line < numLines; ++line)
            {
                r.p.setParameterFromUI (indexOf (line, delayTime), 1.0f, true);
                r.p.setParameterFromUI (indexOf (line, predelay), 1.0f, true);
                r.p.setParameterFromUI (indexOf (line, active), 1.0f, true);
            }
            EXPECT_EQ (faults (r, 200, counted), 0) << "after the longest lengths from the window at " << rate << " Hz";
        }
}
} // namespace nadrix
