// SPDX-License-Identifier: GPL-3.0-or-later
// What the engine promises on its own: the sound of its construction values
// (the programs' sounds are pinned by the processor's golden outputs),
// ignored input, view records, the ring rule of delay times, silence on request.
#include "tests/engine/EngineChecksum.h"
#include "tests/engine/InterleavedRun.h"
#include "engine/ReverbEngine.h"

#include "engine/ConstructionTable.h"

#include "tests/SanitizedBuild.h"
#include "engine/ParameterLayout.h"

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <fstream>
#include <memory>
#include <new>
#include <random>
#include <vector>

namespace nadrix
{
namespace
{
    constexpr int idOf (int line, int kind) { return ParameterLayout::indexOf (line, kind); }

    std::vector<float> noiseBlock (int frames, unsigned seed)
    {
        std::mt19937 rng (seed);
        std::uniform_real_distribution<float> d (-1.0f, 1.0f);
        std::vector<float> block ((size_t) frames * 2);
        for (auto& s : block)
            s = d (rng);
        return block;
    }

    std::vector<float> run (ReverbEngine& engine, std::vector<float> block)
    {
        processInterleaved (engine, block.data(), (int) block.size() / 2);
        return block;
    }
}

TEST (Engine, AsConstructedItSoundsExactlyAsPinned)
{
    const auto checksum = constructedEngineChecksum();
    EXPECT_EQ (checksum, 0x48f774a1659b7dedull) << "the engine as constructed sounds different (checksum 0x" << std::hex << checksum
                                 << "); if that is intended, update the checksum and say why in the commit message";
}

TEST (Engine, IgnoredIdsAndEmptyBlocksChangeNothing)
{
    ReverbEngine touched (44100.0f), control (44100.0f);
    for (auto* e : { &touched, &control })
        run (*e, noiseBlock (700, 2));

    for (int id : { 6, ParameterLayout::numParameters, 400, -1, -7 })
        touched.setParameter (id, 0.123f);
    std::vector<float> block = { 0.5f, 0.25f };
    touched.process (block.data(), block.data(), block.data(), block.data(), 0);
    touched.process (block.data(), block.data(), block.data(), block.data(), -2147483647 - 1);
    EXPECT_EQ (block, (std::vector<float> { 0.5f, 0.25f }));

    const auto second = noiseBlock (900, 3);
    EXPECT_EQ (run (touched, second), run (control, second));
}

TEST (Engine, ViewRecordsFollowEveryChangeAtOnceInRealisedUnits)
{
    ReverbEngine engine (44100.0f);
    const float values[] = { 0.25f, 0.4f, 0.7f, 0.05f, 0.3f, 0.0f, 0.9f };
    for (int k = 0; k < 7; ++k)
        engine.setParameter (idOf (12, k), values[k]);
    const auto v = engine.lineView (12);
    EXPECT_EQ (v.pan, 0.25f);
    EXPECT_EQ (v.hcGain, 0.4f);
    EXPECT_EQ (v.feedback, 0.7f);
    EXPECT_EQ (v.predelay, ((float) (int) (0.05f * 44100.0f + 100.0f) - 100.0f) / 44100.0f); // whole samples
    EXPECT_EQ (v.delayTime, (float) (int) (0.3f * 44100.0f) / 44100.0f);
    EXPECT_EQ (v.active, 0.0f);
    EXPECT_EQ (v.predelayGain, 0.9f);

    // Beyond the rings: one second of pre-delay, half a second of delay; below a sample: one sample.
    for (auto [predelay, delay, realisedPredelay, realisedDelay] : { std::tuple { 1.5f, 0.8f, 1.0f, 0.5f }, { 0.0f, 0.0f, 0.0f, 1.0f / 44100.0f } })
    {
        engine.setParameter (idOf (12, 3), predelay);
        engine.setParameter (idOf (12, 4), delay);
        EXPECT_EQ (engine.lineView (12).predelay, realisedPredelay);
        EXPECT_EQ (engine.lineView (12).delayTime, realisedDelay);
    }

    // At the rate of a restart, in its whole samples.
    engine.restart (48000.0f);
    EXPECT_EQ (engine.lineView (12).delayTime, (float) (int) (0.0f * 48000.0f) / 48000.0f + 1.0f / 48000.0f);
}

TEST (Engine, DelayTimeChangeClearsTheLinesRingOnlyWhenTheLengthChanges)
{
    ReverbEngine same (44100.0f), backAndForth (44100.0f), control (44100.0f);
    for (auto* e : { &same, &backAndForth, &control })
        run (*e, noiseBlock (3000, 8));

    const int id = idOf (5, 4);
    same.setParameter (id, ConstructionTable[id]);
    backAndForth.setParameter (id, 0.2f);
    backAndForth.setParameter (id, ConstructionTable[id]);

    const std::vector<float> silence (2 * 3000, 0.0f);
    const auto controlTail = run (control, silence);
    EXPECT_EQ (run (same, silence), controlTail);
    EXPECT_NE (run (backAndForth, silence), controlTail);
}

TEST (Engine, APreDelayChangedOnARunningLineDelaysAsAFreshEngineGivenItDoes)
{
    // Line 7 alone, a one-sample comb without feedback, the wet sum only: an
    // impulse arrives after the splitter, the comb and the pre-delay.
    auto soloLine7 = [] (ReverbEngine& e) {
        for (int j = 0; j < 50; ++j)
            e.setParameter (idOf (j, 5), j == 7 ? 1.0f : 0.0f);
        e.setParameter (idOf (7, 2), 0.0f);
        e.setParameter (idOf (7, 4), 0.0f);
        e.setParameter (0, 1.0f);
    };
    auto arrival = [] (ReverbEngine& e) {
        std::vector<float> block (2 * 100000, 0.0f);
        block[0] = block[1] = 1.0f;
        const auto out = run (e, block);
        for (size_t i = 0; i < out.size() / 2; ++i)
            if (std::abs (out[2 * i]) > 1.0e-3f)
                return (int) i;
        return -1;
    };

    // Run for long enough, the read position has wrapped behind the write
    // position; before, it is ahead. Either way the change is heard in full.
    for (float rate : { 44100.0f, 96000.0f })
        for (int ran : { 0, 700, 3000, 25000 })
            for (float predelay : { 0.0f, 0.013f, 0.25f, 1.0f })
            {
                ReverbEngine live (44100.0f), fresh (44100.0f);
                for (auto* e : { &live, &fresh })
                {
                    e->restart (rate);
                    soloLine7 (*e);
                }
                run (live, std::vector<float> (2 * (size_t) ran, 0.0f));
                live.setParameter (idOf (7, 3), predelay);
                fresh.setParameter (idOf (7, 3), predelay);
                EXPECT_EQ (arrival (live), arrival (fresh)) << predelay << " s after " << ran << " frames at " << rate << " Hz";
            }
}

TEST (Engine, SilenceBringsBackAFreshEngineEvenFromNotANumber)
{
    ReverbEngine poisoned (44100.0f), fresh (44100.0f);
    for (auto* e : { &poisoned, &fresh })
        e->setParameter (idOf (3, 3), 0.3f); // a pre-delay that grows past the constructed one
    auto block = noiseBlock (4000, 12);
    block[10] = std::nanf ("");
    run (poisoned, block);
    poisoned.setParameter (idOf (3, 3), 0.02f);
    run (poisoned, noiseBlock (2000, 13));

    poisoned.requestSilence();
    poisoned.setParameter (idOf (3, 3), 0.3f);
    const auto in = noiseBlock (30000, 14);
    EXPECT_EQ (run (poisoned, in), run (fresh, in));
}

TEST (Engine, LinesSharedByWorkerThreadsGiveTheSameBits)
{
    LineWorkers two (2), three (3);
    ReverbEngine alone (44100.0f), byTwo (44100.0f), byThree (44100.0f);
    byTwo.useWorkers (&two);
    byThree.useWorkers (&three);
    std::mt19937 rng (21);
    const unsigned blockSizes[] = { 1, 300, 4096, 5000, 9000 };

    for (int round = 0; round < 12; ++round)
    {
        const auto in = noiseBlock ((int) blockSizes[(size_t) round % std::size (blockSizes)], (unsigned) round);
        const auto expected = run (alone, in);
        ASSERT_EQ (run (byTwo, in), expected) << "round " << round;
        ASSERT_EQ (run (byThree, in), expected) << "round " << round;

        for (int k = 0; k < 20; ++k) // lines switched on and off, moved, made longer and shorter
        {
            const int id = idOf ((int) (rng() % 50), (int) (rng() % 7));
            const float value = (float) (rng() % 1000) / 2000.0f;
            for (auto* e : { &alone, &byTwo, &byThree })
                e->setParameter (id, value);
        }
    }
    byTwo.useWorkers (nullptr);
    EXPECT_EQ (run (byTwo, noiseBlock (700, 99)), run (alone, noiseBlock (700, 99)));
}

TEST (Engine, AValueForARestartReachesNoRunningLineBeforeTheRestart)
{
#if NADRIX_SANITIZED
    GTEST_SKIP() << "a sanitizer's shadow memory is first touched on the audio thread";
#endif
    // A line changed from the host (backed, not yet taken over), then given
    // a long delay and pre-delay for a program's restart: until the restart
    // comes the audio thread runs the line as it was, and takes no page
    // fault for lengths its running rings have no memory for.
    const auto faults = [] { rusage usage {}; getrusage (RUSAGE_THREAD, &usage); return usage.ru_minflt + usage.ru_majflt; };
    ReverbEngine engine (44100.0f);
    engine.prepare (44100.0f);
    const auto block = noiseBlock (512, 4);
    for (int b = 0; b < 20; ++b)
        run (engine, block);

    engine.setParameter (idOf (3, 4), 0.01f);
    engine.setParameterForRestart (idOf (3, 4), 0.49f);
    engine.setParameterForRestart (idOf (3, 3), 0.95f);
    const auto before = faults();
    for (int b = 0; b < 40; ++b)
        run (engine, block);
    EXPECT_EQ (faults() - before, 0);

    // The restart brings lines backed for them.
    engine.restart (44100.0f);
    run (engine, block);
    const auto afterRestart = faults();
    for (int b = 0; b < 40; ++b)
        run (engine, block);
    EXPECT_EQ (faults() - afterRestart, 0);
    EXPECT_EQ (engine.lineView (3).delayTime, (float) (int) (0.49f * 44100.0f) / 44100.0f);
}

TEST (Engine, AChangeWhileTwoLineSetsLiveBacksThemBoth)
{
    // A restart offers fresh lines the audio thread has not taken yet: a
    // long delay set then must be backed in the lines that run now and in
    // the fresh ones, so that neither faults in process, whichever runs.
    ReverbEngine engine (44100.0f);
    engine.prepare (44100.0f);
    const auto block = noiseBlock (512, 5);
    run (engine, block);
    ASSERT_TRUE (engine.restart (44100.0f));

    for (int line : { 0, 17, 49 })
    {
        engine.setParameter (idOf (line, 4), 0.49f); // delay time, s
        engine.setParameter (idOf (line, 3), 0.9f);  // pre-delay, s
        EXPECT_TRUE (engine.holdsMemoryFor (idOf (line, 4), 0.49f)) << line;
        EXPECT_TRUE (engine.holdsMemoryFor (idOf (line, 3), 0.9f)) << line;
    }
#if ! NADRIX_SANITIZED // a sanitizer's shadow memory is first touched on the audio thread
    const auto faults = [] { rusage usage {}; getrusage (RUSAGE_THREAD, &usage); return usage.ru_minflt + usage.ru_majflt; };
    run (engine, block); // the fresh lines are taken over and run
    const auto before = faults();
    for (int b = 0; b < 60; ++b)
        run (engine, block);
    EXPECT_EQ (faults() - before, 0);
#endif
}

TEST (Engine, LinesWithoutMemoryPassTheInputDryAndSaySo)
{
#if NADRIX_SANITIZED
    GTEST_SKIP() << "a sanitizer's shadow memory needs more address space than the limit leaves";
#endif
    // In a child whose address space ends 16 MB past what it uses, 192 kHz
    // lines (some 60 MB of rings) get no memory: a restart says so and keeps
    // the lines it runs; an engine made then says so and passes the input
    // as it came, until a restart finds memory. A crash or a failed check
    // is the child's exit status.
    const pid_t child = fork();
    ASSERT_GE (child, 0);
    if (child == 0)
    {
        // Everything the child needs is allocated before the limit.
        const auto in = noiseBlock (512, 7);
        auto block = in;
        auto engine = std::make_unique<ReverbEngine> (44100.0f);
        const auto passesDry = [&] {
            block = in;
            processInterleaved (*engine, block.data(), 512);
            return block == in;
        };

        long pages = 0;
        std::ifstream ("/proc/self/statm") >> pages;
        rlimit limit {};
        getrlimit (RLIMIT_AS, &limit);
        const rlimit tight { (rlim_t) pages * (rlim_t) sysconf (_SC_PAGESIZE) + (16u << 20), limit.rlim_max };
        setrlimit (RLIMIT_AS, &tight);

        if (engine->restart (192000.0f))
            _exit (2);
        engine.reset(); // its memory goes back, and a 192 kHz engine cannot have it all
        engine.reset (new (std::nothrow) ReverbEngine (192000.0f));
        if (engine == nullptr || engine->runsItsLines())
            _exit (2);
        if (! passesDry() || engine->restart (192000.0f) || ! passesDry())
            _exit (3);

        setrlimit (RLIMIT_AS, &limit);
        if (! engine->restart (192000.0f) || ! engine->runsItsLines() || passesDry())
            _exit (4);
        _exit (0);
    }
    int status = 0;
    waitpid (child, &status, 0);
    ASSERT_TRUE (WIFEXITED (status)) << "the child died of signal " << WTERMSIG (status);
    EXPECT_EQ (WEXITSTATUS (status), 0) << "2: no memory not told, 3: not dry, 4: no recovery";
}
} // namespace nadrix
