// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/ReverbEngine.h"
#include "tests/engine/InterleavedRun.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <random>
#include <thread>
#include <vector>

namespace nadrix
{
// One thread processes while a host-like thread and an editor-like thread
// set every parameter (backing new lengths with memory as they go) and read
// every view record, and another restarts and prepares the reverb at
// changing rates. Under ThreadSanitizer any
// unsynchronised access fails the run; without it this still checks that
// the output stays finite.
TEST (EngineConcurrency, SettersAndViewReadersRaceTheAudioThreadSafely)
{
    ReverbEngine engine (44100.0f);
    std::atomic<bool> stop { false };

    auto setter = [&engine, &stop] (unsigned seed) {
        std::mt19937 rng (seed);
        std::uniform_real_distribution<float> unit (0.0f, 1.0f);
        while (! stop.load())
        {
            for (int id = -1; id < 360; ++id)
            {
                const float n = unit (rng);
                const bool isTime = id >= 7 && (id - 7) % 7 == 4;
                const float value = id == 1 || id == 2 ? n * 9000.0f + 20.0f : isTime ? n * 0.6f : n * 0.95f;
                if (seed == 1u && id % 5 == 0)
                    engine.setParameterForRestart (id, value); // as a program or a restore sets its values
                else
                    engine.setParameter (id, value);
            }
        }
    };

    auto viewer = [&engine, &stop] {
        float sink = 0.0f;
        while (! stop.load())
        {
            const NadrixViewdata* v = engine.getViewData();
            for (int j = 0; j < 50; ++j)
                sink += v[j].pan.load() + v[j].hcGain.load() + v[j].feedback.load() + v[j].predelay.load()
                      + v[j].delayTime.load() + v[j].active.load() + v[j].predelayGain.load();
        }
        EXPECT_TRUE (std::isfinite (sink));
    };

    // Programs, restored states and rate changes start the reverb afresh
    // from another thread, while it runs.
    auto restarter = [&engine, &stop] {
        for (int round = 0; ! stop.load(); ++round)
        {
            const float rate = round % 3 == 2 ? 48000.0f : 44100.0f;
            if (round % 4 == 3)
                engine.prepare (rate); // a restart at a new rate, or backing the lines that run
            else
                engine.restart (rate);
            if (round % 2 == 1)
                engine.releaseReplacedLines();
            std::this_thread::sleep_for (std::chrono::milliseconds (2));
        }
    };

    std::thread host (setter, 1u), editor (setter, 2u), view (viewer), programs (restarter);

    std::vector<float> block (2 * 512);
    std::mt19937 rng (3);
    std::uniform_real_distribution<float> signal (-0.5f, 0.5f);
    bool finite = true;
    for (int b = 0; b < 400; ++b)
    {
        for (auto& s : block)
            s = signal (rng);
        processInterleaved (engine, block.data(), 512);
        for (float s : block)
            finite = finite && std::isfinite (s);
    }

    stop.store (true);
    host.join();
    editor.join();
    view.join();
    programs.join();
    EXPECT_TRUE (finite);
}
} // namespace nadrix
