// SPDX-License-Identifier: GPL-3.0-or-later
// What an instance of the plug-in costs a session besides its CPU per frame:
// memory per instance at two rates, the time and page faults of creating and
// activating one, of choosing each factory program, and the page faults a
// change made inside process can take. Each figure is printed as one row of
// a table; the instances are the plug-in object itself, as a host's wrapper
// holds it (scripts/bench-lv2.sh measures the LV2 plug-in as hosts load it,
// 16 instances in turn included).
#include "processor/NadrixAudioProcessor.h"
#include "processor/FactoryPrograms.h"
#include "engine/ParameterLayout.h"
#include "bench/SessionMeasures.h"

#include <juce_events/juce_events.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace nadrix
{
namespace
{
    using namespace SessionMeasures;
    constexpr int sessionSize = 16;

    struct Instance
    {
        explicit Instance (double rate, int blockFrames) : block (2, blockFrames)
        {
            plugin.setRateAndBufferSizeDetails (rate, blockFrames);
            plugin.prepareToPlay (rate, blockFrames);
        }

        void run (int blocks)
        {
            for (int b = 0; b < blocks; ++b)
            {
                for (int ch = 0; ch < 2; ++ch)
                    for (int i = 0; i < block.getNumSamples(); ++i)
                        block.setSample (ch, i, signal (rng));
                plugin.processBlock (block, midi);
            }
        }

        NadrixAudioProcessor plugin;
        juce::AudioBuffer<float> block;
        juce::MidiBuffer midi;
        std::mt19937 rng { 1 };
        std::uniform_real_distribution<float> signal { -0.5f, 0.5f };
    };

    struct Session
    {
        double megabytesPerInstance = 0.0, totalMegabytes = 0.0, createMs = 0.0;
        double faultsPerInstance = 0.0;
    };

    // 16 instances made and activated one after another, each kept alive and
    // run for a while as a host would before the next is made.
    Session makeSession (double rate, std::vector<std::unique_ptr<Instance>>& instances)
    {
        const double before = residentMegabytes();
        const long faultsBefore = pageFaults();
        double creating = 0.0;
        for (int n = 0; n < sessionSize; ++n)
        {
            const auto start = Clock::now();
            instances.push_back (std::make_unique<Instance> (rate, 512));
            creating += millisecondsSince (start);
            instances.back()->run ((int) (rate / 512.0)); // a second of audio
        }
        Session s;
        s.totalMegabytes = residentMegabytes() - before;
        s.megabytesPerInstance = s.totalMegabytes / sessionSize;
        s.createMs = creating / sessionSize;
        s.faultsPerInstance = (double) (pageFaults() - faultsBefore) / sessionSize;
        return s;
    }

    // Nanoseconds per frame over `seconds` of audio, the best of three passes.
    double nanosecondsPerFrame (std::vector<std::unique_ptr<Instance>>& instances, double rate, double seconds)
    {
        const int blockFrames = instances.front()->block.getNumSamples();
        const int blocks = (int) (seconds * rate / blockFrames);
        double best = 1.0e30;
        for (int pass = 0; pass < 3; ++pass)
        {
            const auto start = Clock::now();
            for (int b = 0; b < blocks; ++b)
                for (auto& instance : instances)
                    instance->plugin.processBlock (instance->block, instance->midi);
            const double ns = millisecondsSince (start) * 1.0e6 / ((double) blocks * blockFrames * (double) instances.size());
            best = std::min (best, ns);
        }
        return best;
    }

    void row (const char* what, const std::string& figure)
    {
        std::printf ("| %-62s | %22s |\n", what, figure.c_str());
    }

}
} // namespace nadrix

int main()
{
    using namespace nadrix;
    const juce::ScopedJuceInitialiser_GUI juce;
    std::printf ("| %-62s | %22s |\n|%s|%s|\n", "Nadrix, 44.1 kHz stereo unless said", "",
                 std::string (64, '-').c_str(), std::string (24, '-').c_str());

    {
        const auto start = Clock::now();
        const long faults = pageFaults();
        Instance first (44100.0, 512);
        row ("first instance in this process: create + activate", format ("%.2f ms, %.0f faults", millisecondsSince (start), (double) (pageFaults() - faults)));
    }

    for (int blockFrames : { 64, 512 })
    {
        std::vector<std::unique_ptr<Instance>> one;
        one.push_back (std::make_unique<Instance> (44100.0, blockFrames));
        one.front()->run (100);
        row (blockFrames == 64 ? "CPU, ns per frame, 64-frame blocks" : "CPU, ns per frame, 512-frame blocks",
             format ("%.1f", nanosecondsPerFrame (one, 44100.0, 2.0)));
    }

    for (double rate : { 44100.0, 96000.0 })
    {
        std::vector<std::unique_ptr<Instance>> session;
        const Session s = makeSession (rate, session);
        if (rate == 44100.0)
        {
            row ("memory per extra instance, 44.1 kHz", format ("%.2f MB", s.megabytesPerInstance));
            row ("instantiate + activate, each new instance kept alive", format ("%.2f ms, %.0f faults", s.createMs, s.faultsPerInstance));
        }
        else
        {
            row ("memory per extra instance, 96 kHz", format ("%.2f MB", s.megabytesPerInstance));
            row ("16 instances at 96 kHz", format ("%.1f MB", s.totalMegabytes));
        }
    }

    {
        // Program changes on a running instance, as a host's message thread
        // makes them; each is followed by a second of audio.
        Instance instance (44100.0, 512);
        instance.run (20);
        for (int program = 0; program < FactoryPrograms::count; ++program)
        {
            const long faults = pageFaults();
            const auto start = Clock::now();
            instance.plugin.setCurrentProgram (program);
            const double ms = millisecondsSince (start);
            const long changeFaults = pageFaults() - faults;
            const long audioFaults = pageFaults (RUSAGE_THREAD);
            instance.run (86);
            const std::string what = std::string ("choosing \"") + FactoryPrograms::names[program] + "\" (faults in the audio after it)";
            row (what.c_str(), format ("%.2f ms, %.0f faults", ms, (double) changeFaults) + format (" (%.0f)", (double) (pageFaults (RUSAGE_THREAD) - audioFaults)));
        }
    }

    for (double rate : { 44100.0, 96000.0 })
    {
        // The worst a change arriving on the audio thread itself can do (a
        // VST3 host's automation inside process): one line from its shortest
        // delay and pre-delay to its longest, backed there and then.
        Instance instance (rate, 512);
        instance.plugin.setParameterFromUI (ParameterLayout::indexOf (0, ParameterLayout::delayTime), 0.0f, false);
        instance.plugin.setParameterFromUI (ParameterLayout::indexOf (0, ParameterLayout::predelay), 0.0f, false);
        instance.run (20);
        const long faults = pageFaults (RUSAGE_THREAD);
        instance.plugin.setParameter (ParameterLayout::indexOf (0, ParameterLayout::delayTime), 1.0f);
        instance.plugin.setParameter (ParameterLayout::indexOf (0, ParameterLayout::predelay), 1.0f);
        instance.run (1);
        row (rate == 44100.0 ? "audio thread: one line to its longest lengths inside process"
                             : "audio thread: the same at 96 kHz",
             format ("%.0f faults", (double) (pageFaults (RUSAGE_THREAD) - faults)));
    }

    return 0;
}
