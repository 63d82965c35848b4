// SPDX-License-Identifier: GPL-3.0-or-later
// Engine throughput as a real-time factor: seconds of 44.1 kHz stereo audio
// processed per CPU second ("x_realtime"). Lines/N/B runs the first N lines
// of the construction table (the rest switched off) at blocks of B frames;
// Construction49Lines is the table as it stands.
#include "engine/ReverbEngine.h"
#include "engine/ParameterLayout.h"

#include <benchmark/benchmark.h>

#include <random>
#include <vector>

namespace nadrix
{
namespace
{
    void runEngine (benchmark::State& state, int runningLines)
    {
        const auto frames = (unsigned) state.range (1);
        ReverbEngine engine (44100.0f);
        if (runningLines > 0)
            for (int j = 0; j < 50; ++j)
                engine.setParameter (ParameterLayout::indexOf (j, ParameterLayout::active), j < runningLines ? 1.0f : 0.0f);

        std::mt19937 rng (1);
        std::uniform_real_distribution<float> signal (-0.5f, 0.5f);
        std::vector<float> sourceLeft ((size_t) frames), sourceRight ((size_t) frames), left (sourceLeft.size()), right (sourceRight.size());
        for (size_t i = 0; i < sourceLeft.size(); ++i)
        {
            sourceLeft[i] = signal (rng);
            sourceRight[i] = signal (rng);
        }

        for (auto _ : state)
        {
            left = sourceLeft;
            right = sourceRight;
            engine.process (left.data(), right.data(), left.data(), right.data(), (int) frames);
            benchmark::DoNotOptimize (left.data());
            benchmark::DoNotOptimize (right.data());
        }

        state.counters["x_realtime"] = benchmark::Counter ((double) frames / 44100.0, benchmark::Counter::kIsIterationInvariantRate);
        state.counters["ns_per_frame"] = benchmark::Counter ((double) frames, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    }

    void Lines (benchmark::State& state) { runEngine (state, (int) state.range (0)); }
    void Construction49Lines (benchmark::State& state) { runEngine (state, 0); }
}

BENCHMARK (Lines)->ArgsProduct ({ { 10, 25, 36, 50 }, { 32, 64, 512, 4096 } })->ArgNames ({ "lines", "frames" });
BENCHMARK (Construction49Lines)->ArgsProduct ({ { 0 }, { 512, 4096 } })->ArgNames ({ "", "frames" });

} // namespace nadrix

BENCHMARK_MAIN();
