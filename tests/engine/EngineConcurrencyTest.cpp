// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/ConstructionTable.h"
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
            for (int j = 0; j < 50; ++j)
            {
                const auto v = engine.lineView (j);
                sink += v.pan + v.hcGain + v.feedback + v.predelay + v.delayTime + v.active + v.predelayGain;
            }
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

    // Whatever the race left, the settings given last are the ones heard:
    // the same values and a restart sound as a fresh engine given them.
    ReverbEngine fresh (44100.0f);
    for (auto* e : { &engine, &fresh })
    {
        for (int id = 0; id < ParameterLayout::numParameters; ++id)
            e->setParameter (id, ConstructionTable[id]);
        e->restart (44100.0f);
    }
    std::vector<float> a (2 * 4096), b;
    for (size_t i = 0; i < a.size(); ++i)
        a[i] = i < 2 ? 1.0f : 0.0f;
    b = a;
    processInterleaved (engine, a.data(), 4096);
    processInterleaved (fresh, b.data(), 4096);
    EXPECT_EQ (a, b);
    for (int j = 0; j < 50; ++j)
        EXPECT_EQ (engine.lineView (j).feedback, ConstructionTable[ParameterLayout::indexOf (j, ParameterLayout::feedback)]) << j;
}

TEST (EngineConcurrency, TwoWritersOnOneLineLeaveItsViewWithTheirLastValues)
{
    // One thread writes the line's pan, another its feedback and delay
    // time, a third reads its view: every value read is one that was
    // written, and once they stop the view holds the last of each.
    ReverbEngine engine (44100.0f);
    constexpr int line = 9, rounds = 20000;
    std::atomic<bool> stop { false };
    const auto panOf = [] (int i) { return (float) (i % 1000) / 1000.0f - 0.5f; };
    const auto feedbackOf = [] (int i) { return (float) (i % 997) / 1000.0f; };
    // The line starts from written values, so the reader never meets the
    // construction values, which lie outside what the writers write.
    engine.setParameter (ParameterLayout::indexOf (line, ParameterLayout::pan), panOf (0));
    engine.setParameter (ParameterLayout::indexOf (line, ParameterLayout::feedback), feedbackOf (0));

    std::thread panWriter ([&] { for (int i = 1; i <= rounds; ++i) engine.setParameter (ParameterLayout::indexOf (line, ParameterLayout::pan), panOf (i)); });
    std::thread feedbackWriter ([&] {
        for (int i = 1; i <= rounds; ++i)
        {
            engine.setParameter (ParameterLayout::indexOf (line, ParameterLayout::feedback), feedbackOf (i));
            engine.setParameter (ParameterLayout::indexOf (line, ParameterLayout::delayTime), 0.1f + (float) (i % 7) * 0.01f);
        }
    });
    bool readable = true;
    std::thread reader ([&] {
        while (! stop.load())
        {
            const auto v = engine.lineView (line);
            readable = readable && v.pan >= -0.5f && v.pan < 0.5f && v.feedback >= 0.0f && v.feedback < 1.0f;
        }
    });
    std::vector<float> block (2 * 256, 0.1f);
    for (int b = 0; b < 200; ++b)
        processInterleaved (engine, block.data(), 256);
    panWriter.join();
    feedbackWriter.join();
    stop.store (true);
    reader.join();

    const auto v = engine.lineView (line);
    EXPECT_TRUE (readable);
    EXPECT_EQ (v.pan, panOf (rounds));
    EXPECT_EQ (v.feedback, feedbackOf (rounds));
    EXPECT_EQ (v.delayTime, (float) (int) ((0.1f + (float) (rounds % 7) * 0.01f) * 44100.0f) / 44100.0f);
}
} // namespace nadrix

