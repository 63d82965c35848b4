// SPDX-License-Identifier: GPL-3.0-or-later
// What a program change costs the audio thread: for each factory program
// chosen on a fresh instance, the slowest of the 20 blocks that follow it,
// against an ordinary block of that same program later on (64 frames,
// 44.1 kHz). The program change itself runs outside the timed blocks, as a
// host's message thread would run it.
#include "processor/NadrixAudioProcessor.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <random>
#include <vector>

namespace nadrix
{
namespace
{
    constexpr int blockFrames = 64;
    NadrixAudioProcessor* p = nullptr; // the instance being timed

    struct Timings
    {
        double worstAfterChange = 0.0;
        std::vector<double> ordinary;
    };

    void FirstBlocksAfterProgramChange (benchmark::State& state)
    {
        const juce::ScopedJuceInitialiser_GUI juce;
        const int program = (int) state.range (0);
        juce::AudioBuffer<float> block (2, blockFrames);
        juce::MidiBuffer midi;
        std::mt19937 rng (1);
        std::uniform_real_distribution<float> signal (-0.5f, 0.5f);
        Timings t;

        auto timedBlock = [&] {
            for (int ch = 0; ch < 2; ++ch)
                for (int n = 0; n < blockFrames; ++n)
                    block.setSample (ch, n, signal (rng));
            const auto start = std::chrono::steady_clock::now();
            p->processBlock (block, midi);
            return std::chrono::duration<double, std::micro> (std::chrono::steady_clock::now() - start).count();
        };

        for (auto _ : state)
        {
            NadrixAudioProcessor fresh; // as when a host loads it
            p = &fresh;
            fresh.setRateAndBufferSizeDetails (44100.0, blockFrames);
            fresh.prepareToPlay (44100.0, blockFrames);
            for (int i = 0; i < 50; ++i)
                timedBlock();

            // Program 5 is loaded at construction: it is reached through program 0.
            if (program == 5)
                fresh.setCurrentProgram (0);
            fresh.setCurrentProgram (program);
            for (int i = 0; i < 20; ++i)
                t.worstAfterChange = std::max (t.worstAfterChange, timedBlock());
            for (int i = 0; i < 200; ++i)
                t.ordinary.push_back (timedBlock());
        }

        std::sort (t.ordinary.begin(), t.ordinary.end());
        const double median = t.ordinary[t.ordinary.size() / 2];
        state.counters["worst_after_change_us"] = t.worstAfterChange;
        state.counters["ordinary_block_us"] = median;
        state.counters["ratio"] = t.worstAfterChange / median;
        p = nullptr;
    }
}

BENCHMARK (FirstBlocksAfterProgramChange)->DenseRange (0, 5)->Iterations (10)->Unit (benchmark::kMillisecond);
} // namespace nadrix
