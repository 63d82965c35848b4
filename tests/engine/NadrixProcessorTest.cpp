// SPDX-License-Identifier: GPL-3.0-or-later
#include "NadrixProcessor.h"

#include "ML_Modulation_Values.h"
#include "Nadrix_Default.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <random>
#include <vector>

namespace
{
    constexpr int idOf (int line, int kind) { return 7 + 7 * line + kind; }

    std::vector<float> noiseBlock (int frames, unsigned seed)
    {
        std::mt19937 rng (seed);
        std::uniform_real_distribution<float> d (-1.0f, 1.0f);
        std::vector<float> block ((size_t) frames * 2);
        for (auto& s : block)
            s = d (rng);
        return block;
    }

    std::vector<float> run (NadrixProcessor& engine, std::vector<float> block)
    {
        engine.process (block.data(), (unsigned) block.size() * 4, (unsigned) block.size() / 2);
        return block;
    }

    void switchAllLinesOff (NadrixProcessor& engine)
    {
        for (int j = 0; j < 50; ++j)
            engine.setParamByAUID (idOf (j, 5), 0.0f);
    }

    float crossfade (float share) { return cosf ((float) ((double) share * M_PI * 0.5)); }
}

TEST (Engine, ConstructionTablesReadBackAsStated)
{
    NadrixProcessor engine (44100.0f);
    const NadrixViewdata* v = engine.getViewData();

    // Line 0's pre-delay: trunc(0.089907 * 44100 + 100) - 100 whole samples.
    EXPECT_EQ (v[0].predelay.load(), 3964.0f / 44100.0f);
    EXPECT_EQ (v[0].delayTime.load(), 2798.0f / 44100.0f);
    EXPECT_EQ (v[0].pan.load(), -0.5044f);
    EXPECT_EQ (v[49].predelayGain.load(), 0.75801f);

    int running = 0;
    for (int j = 0; j < 50; ++j)
        running += v[j].active.load() >= 0.5f ? 1 : 0;
    EXPECT_EQ (running, 49);
    EXPECT_EQ (v[49].active.load(), 0.0f);

    const float globals[] = { 0.518f, 360.25446f, 3741.4175f, 0.843909f, 1.219804f, 0.355819f, 0.1f };
    EXPECT_EQ (0, std::memcmp (globals, Nadrix_Default, sizeof globals));

    const auto [minDepth, maxDepth] = std::minmax_element (std::begin (ML_Modulation_Values), std::end (ML_Modulation_Values),
                                                           [] (auto a, auto b) { return a.depth < b.depth; });
    const auto [minRate, maxRate] = std::minmax_element (std::begin (ML_Modulation_Values), std::end (ML_Modulation_Values),
                                                         [] (auto a, auto b) { return a.rate < b.rate; });
    EXPECT_EQ (minDepth->depth, 10.0f);
    EXPECT_EQ (maxDepth->depth, 48.0f);
    EXPECT_EQ (minRate->rate, 0.1235f);
    EXPECT_EQ (maxRate->rate, 2.57875f);
}

TEST (Engine, PanLawGivesMinusThreeDecibelsAtTheCentreAndFullGainAtTheEdges)
{
    PanGains g;
    PanGains_Set (&g, -1.0f);
    EXPECT_EQ (g.left, 1.0f);
    EXPECT_EQ (g.right, 0.0f);
    PanGains_Set (&g, 1.0f);
    EXPECT_EQ (g.left, 0.0f);
    EXPECT_EQ (g.right, 1.0f);
    PanGains_Set (&g, 0.0f);
    EXPECT_EQ (g.left, 0.70794576f);
    EXPECT_EQ (g.right, 0.70794576f);
    PanGains_Set (&g, 0.5f);
    EXPECT_EQ (g.left, 0.5f * 0.70794576f);
    EXPECT_EQ (g.right, 0.5f * 0.70794576f + 0.5f);
    EXPECT_EQ (g.pan, 0.5f);

    // A hard-left line puts nothing on the right: there only the dry signal remains.
    NadrixProcessor engine (44100.0f);
    switchAllLinesOff (engine);
    engine.setParamByAUID (idOf (3, 5), 1.0f);
    engine.setParamByAUID (idOf (3, 0), -1.0f);
    engine.setParamByAUID (0, 1.0f);
    const auto in = noiseBlock (4000, 5);
    const auto out = run (engine, in);
    const float dry = crossfade (1.0f);
    bool leftWet = false;
    for (size_t i = 0; i < in.size(); i += 2)
    {
        ASSERT_EQ (out[i + 1], in[i + 1] * dry);
        leftWet = leftWet || out[i] != in[i] * dry;
    }
    EXPECT_TRUE (leftWet);
}

TEST (Engine, WithAllLinesOffTheOutputIsTheInputTimesTheDryGain)
{
    NadrixProcessor engine (44100.0f);
    switchAllLinesOff (engine);
    engine.setParamByAUID (0, 0.3f);
    const auto in = noiseBlock (600, 9);
    const auto out = run (engine, in);
    for (size_t i = 0; i < in.size(); ++i)
        ASSERT_EQ (out[i], in[i] * crossfade (0.3f));
}

TEST (Engine, MixEndsAreNotPerfectlyDryOrWet)
{
    EXPECT_EQ (crossfade (1.0f), -4.371139e-08f);

    NadrixProcessor engine (44100.0f);
    engine.setParamByAUID (0, 0.0f);
    run (engine, noiseBlock (3000, 1)); // fill the rings
    std::vector<float> silence (2 * 512, 0.0f);
    const auto tail = run (engine, silence);
    EXPECT_TRUE (std::any_of (tail.begin(), tail.end(), [] (float s) { return s != 0.0f; }));
    EXPECT_LT (*std::max_element (tail.begin(), tail.end()), 1e-6f);
}

TEST (Engine, ALineAtExactlyOneHalfRunsButIsNotCounted)
{
    NadrixProcessor half (44100.0f), full (44100.0f);
    for (auto* e : { &half, &full })
    {
        switchAllLinesOff (*e);
        e->setParamByAUID (0, 1.0f);
    }
    half.setParamByAUID (idOf (0, 5), 0.5f); // norm 1.4: two, no running line
    full.setParamByAUID (idOf (0, 5), 1.0f); // norm 2.1: two plus this line

    const auto in = noiseBlock (12000, 4);
    const auto a = run (half, in);
    const auto b = run (full, in);
    int compared = 0;
    for (size_t i = 0; i < a.size(); ++i)
    {
        if (std::abs (b[i]) < 1e-3f)
            continue;
        ASSERT_NEAR (a[i] / b[i], 1.5f, 1e-4f);
        ++compared;
    }
    EXPECT_GT (compared, 1000);
}

TEST (Engine, IgnoredIdsAndEmptyBlocksChangeNothing)
{
    NadrixProcessor touched (44100.0f), control (44100.0f);
    const auto first = noiseBlock (700, 2);
    run (touched, first);
    run (control, first);

    for (int id : { 6, 357, 400, -1, -7 })
        touched.setParamByAUID (id, 0.123f);
    std::vector<float> block = { 0.5f, 0.25f };
    touched.process (block.data(), 0, 0);
    touched.process (block.data(), 8, 0x80000000u); // negative when read as a signed count
    EXPECT_EQ (block[0], 0.5f);
    EXPECT_EQ (block[1], 0.25f);

    const auto second = noiseBlock (900, 3);
    EXPECT_EQ (run (touched, second), run (control, second));
}

TEST (Engine, ViewRecordsFollowEveryChangeAtOnceInRealisedUnits)
{
    NadrixProcessor engine (44100.0f);
    const NadrixViewdata& v = engine.getViewData()[12];

    engine.setParamByAUID (idOf (12, 0), 0.25f);
    engine.setParamByAUID (idOf (12, 1), 0.4f);
    engine.setParamByAUID (idOf (12, 2), 0.7f);
    engine.setParamByAUID (idOf (12, 3), 0.05f);
    engine.setParamByAUID (idOf (12, 4), 0.3f);
    engine.setParamByAUID (idOf (12, 5), 0.0f);
    engine.setParamByAUID (idOf (12, 6), 0.9f);
    EXPECT_EQ (v.pan.load(), 0.25f);
    EXPECT_EQ (v.hcGain.load(), 0.4f);
    EXPECT_EQ (v.feedback.load(), 0.7f);
    EXPECT_EQ (v.predelay.load(), ((float) (int) (0.05f * 44100.0f + 100.0f) - 100.0f) / 44100.0f);
    EXPECT_EQ (v.delayTime.load(), (float) (int) (0.3f * 44100.0f) / 44100.0f);
    EXPECT_EQ (v.active.load(), 0.0f);
    EXPECT_EQ (v.predelayGain.load(), 0.9f);

    engine.setParamByAUID (idOf (12, 3), 1.5f);
    engine.setParamByAUID (idOf (12, 4), 0.8f);
    EXPECT_EQ (v.predelay.load(), 1.0f);
    EXPECT_EQ (v.delayTime.load(), 0.5f);

    engine.setParamByAUID (idOf (12, 4), 0.0f); // shorter than a sample: one sample
    EXPECT_EQ (v.delayTime.load(), 1.0f / 44100.0f);
}

TEST (Engine, ImpulseLeavesALineAfterItsCombLengthPlusItsPredelayDistance)
{
    NadrixProcessor engine (44100.0f);
    switchAllLinesOff (engine);
    engine.setParamByAUID (0, 1.0f);
    engine.setParamByAUID (idOf (0, 5), 1.0f);
    // A 100-sample ring; its indices keep their values (write 0, read 2032
    // from the 4064-sample ring it had), so the delay is (0 - 2032) mod 100 = 68.
    engine.setParamByAUID (idOf (0, 3), 0.0f);
    engine.setParamByAUID (idOf (0, 4), 0.01f);
    const auto comb = (int) std::lround (engine.getViewData()[0].delayTime.load() * 44100.0f);

    std::vector<float> block (2 * 2000, 0.0f);
    block[0] = block[1] = 1.0f;
    const auto out = run (engine, block);
    const float dryLeak = crossfade (1.0f);
    int first = -1;
    for (int i = 1; i < 2000 && first < 0; ++i)
        if (out[2 * (size_t) i] != 0.0f)
            first = i;
    EXPECT_EQ (out[0], dryLeak);
    EXPECT_EQ (first, comb + 68);
}

TEST (Engine, DelayTimeChangeClearsTheLinesRingOnlyWhenTheLengthChanges)
{
    NadrixProcessor same (44100.0f), backAndForth (44100.0f), control (44100.0f);
    const auto in = noiseBlock (3000, 8);
    for (auto* e : { &same, &backAndForth, &control })
        run (*e, in);

    const int id = idOf (5, 4);
    const float time = Nadrix_Default[id];
    same.setParamByAUID (id, time);
    backAndForth.setParamByAUID (id, 0.2f);
    backAndForth.setParamByAUID (id, time);

    std::vector<float> silence (2 * 3000, 0.0f);
    const auto controlTail = run (control, silence);
    EXPECT_EQ (run (same, silence), controlTail);
    EXPECT_NE (run (backAndForth, silence), controlTail);
}

TEST (Engine, SilenceBringsBackAFreshEngineEvenFromNotANumber)
{
    NadrixProcessor poisoned (44100.0f), fresh (44100.0f);
    for (auto* e : { &poisoned, &fresh })
        e->setParamByAUID (idOf (3, 3), 0.3f); // a pre-delay that grows past the constructed one
    auto block = noiseBlock (4000, 12);
    block[10] = std::nanf ("");
    run (poisoned, block);
    poisoned.setParamByAUID (idOf (3, 3), 0.02f);
    run (poisoned, noiseBlock (2000, 13));

    poisoned.requestSilence();
    poisoned.setParamByAUID (idOf (3, 3), 0.3f);
    const auto in = noiseBlock (30000, 14);
    EXPECT_EQ (run (poisoned, in), run (fresh, in));
}
