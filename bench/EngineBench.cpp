// SPDX-License-Identifier: GPL-3.0-or-later
// Engine throughput as a real-time factor: seconds of 44.1 kHz stereo audio
// processed per CPU second ("x_realtime"), for the construction table (49
// running lines) and for all 50 lines, at three block sizes.
#include "NadrixProcessor.h"

#include <benchmark/benchmark.h>

#include <random>
#include <vector>

namespace
{
    void runEngine (benchmark::State& state, bool allLines)
    {
        const auto frames = (unsigned) state.range (0);
        NadrixProcessor engine (44100.0f);
        if (allLines)
            engine.setParamByAUID (7 + 7 * 49 + 5, 1.0f);

        std::mt19937 rng (1);
        std::uniform_real_distribution<float> signal (-0.5f, 0.5f);
        std::vector<float> source (2 * (size_t) frames), block (source.size());
        for (auto& s : source)
            s = signal (rng);

        for (auto _ : state)
        {
            block = source;
            engine.process (block.data(), frames * 8, frames);
            benchmark::DoNotOptimize (block.data());
        }

        state.counters["x_realtime"] = benchmark::Counter ((double) frames / 44100.0, benchmark::Counter::kIsIterationInvariantRate);
        state.counters["lines"] = allLines ? 50 : 49;
    }

    void Construction49Lines (benchmark::State& state) { runEngine (state, false); }
    void All50Lines (benchmark::State& state) { runEngine (state, true); }
}

BENCHMARK (Construction49Lines)->Arg (64)->Arg (512)->Arg (4096);
BENCHMARK (All50Lines)->Arg (64)->Arg (512)->Arg (4096);

BENCHMARK_MAIN();
