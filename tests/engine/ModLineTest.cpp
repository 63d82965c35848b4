// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/ModLine.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <vector>

namespace nadrix
{
namespace
{
    struct Line
    {
        ModLine* line = ModLine_Create();
        Line (float depth, float rate, float predelay, float sampleRate = 44100.0f) { ModLine_Init (line, depth, rate, predelay, sampleRate); }
        ~Line() { ModLine_Destroy (line); }
    };
}

TEST (ModLine, AFreshLineDelaysByHalfItsLengthAndLengthsStayInTheRing)
{
    Line fresh (17.0f, 1.41225f, 0.0f);
    for (int i = 0; i <= 120; ++i)
        ASSERT_EQ (ModLine_Process (fresh.line, i == 0 ? 1.0f : 0.0f), i == 50 ? 1.0f : 0.0f) << "step " << i;
    EXPECT_EQ (fresh.line->phase, 0u); // 1.41225 Hz never moves the integer phase

    Line l (10.0f, 0.5f, 0.089907f);
    EXPECT_FLOAT_EQ (ModLine_Get_Predelay (l.line), 3964.0f / 44100.0f); // whole samples
    for (float seconds : { 1.5f, 1.0f, 4.0f })
    {
        ModLine_Set_Predelay (l.line, seconds);
        EXPECT_EQ (l.line->length, l.line->capacity) << seconds; // one second plus 100 samples
    }
    for (float seconds : { -0.3f, NAN })
    {
        ModLine_Set_Predelay (l.line, seconds);
        EXPECT_EQ (l.line->length, 100) << seconds;
    }

    // The rate is clamped at init: below 8 kHz (no rate yet) to 44.1 kHz, above 200 kHz to 192 kHz.
    EXPECT_EQ (Line (10.0f, 1.0f, 0.0f, 8000.0f).line->sampleRate, 8000.0f);
    EXPECT_EQ (Line (10.0f, 1.0f, 0.0f, 0.0f).line->sampleRate, 44100.0f);
    EXPECT_EQ (Line (10.0f, 1.0f, 0.0f, 250000.0f).line->sampleRate, 192000.0f);
    EXPECT_EQ (Line (10.0f, 1.0f, 0.0f, 196000.0f).line->capacity, 196100);

    // The engine's fastest modulation (2.57875 Hz) leaves the phase still at
    // every rate, 8 kHz included, as at 44.1 kHz: no rate adds a wobble.
    for (float rate : { 8000.0f, 10000.0f, 11025.0f, 44100.0f, 192000.0f })
    {
        Line lowest (25.0f, 2.57875f, 0.01f, rate);
        for (int i = 0; i < 10000; ++i)
            ModLine_Process (lowest.line, 0.0f);
        EXPECT_EQ (lowest.line->phase, 0u) << rate;
        EXPECT_TRUE (ModLine_Reads_Unmodulated (lowest.line)) << rate;
    }
}

TEST (ModLine, BlockProcessingMatchesSampleProcessingWithAndWithoutModulation)
{
    // 0.7 Hz keeps the phase at 0 (the engine's case); 40 Hz moves it by
    // whole table steps, so the tap follows the sine.
    for (float rate : { 0.7f, 40.0f })
    {
        Line perSample (30.0f, rate, 0.02f), perBlock (30.0f, rate, 0.02f);
        std::mt19937 rng (11);
        std::uniform_real_distribution<float> signal (-1.0f, 1.0f), predelay (0.0f, 1.2f);
        std::vector<float> in (900), outA (900), outB (900);

        for (int round = 0; round < 40; ++round)
        {
            const auto n = (int32_t) (rng() % 900);
            for (auto& s : in)
                s = signal (rng);
            for (int32_t i = 0; i < n; ++i)
                outA[(size_t) i] = ModLine_Process (perSample.line, in[(size_t) i]);
            ModLine_Process_Block (perBlock.line, in.data(), outB.data(), n);
            ASSERT_EQ (0, std::memcmp (outA.data(), outB.data(), sizeof (float) * (size_t) n)) << rate << " round " << round;

            const float p = round % 4 == 0 ? 0.0f : predelay (rng);
            ModLine_Set_Predelay (perSample.line, p);
            ModLine_Set_Predelay (perBlock.line, p);
        }
        EXPECT_EQ (perSample.line->phase, perBlock.line->phase);
        EXPECT_EQ (perBlock.line->phase != 0u, rate > 10.7666f);
    }
}

TEST (ModLine, ANewLengthReadsOnlyTheLinesOwnRecentInput)
{
    // Against a plain delay: after each change of length the line reads its
    // input `distance` samples back, or silence where that input is older
    // than the line held when its length changed. Through the block pass
    // and the one-sample pass alike, growing and shrinking, with the read
    // position behind and ahead of the write position.
    for (const bool blocks : { false, true })
    {
        Line line (30.0f, 0.7f, 0.05f); // 0.7 Hz leaves the phase still: a plain delay
        std::mt19937 rng (blocks ? 21 : 22);
        std::uniform_real_distribution<float> signal (-1.0f, 1.0f), seconds (0.0f, 1.1f);
        std::vector<float> input;
        int64_t lost = 0; // inputs before this read as silence
        int32_t distance = (line.line->length - (int32_t) (line.line->length * 0.5) % line.line->length) % line.line->length;

        for (int round = 0; round < 300; ++round)
        {
            const auto n = (int32_t) (rng() % 5000);
            std::vector<float> in ((size_t) n), out ((size_t) n);
            for (auto& x : in)
                x = signal (rng);
            if (blocks)
                ModLine_Process_Block (line.line, in.data(), out.data(), n);
            else
                for (int32_t i = 0; i < n; ++i)
                    out[(size_t) i] = ModLine_Process (line.line, in[(size_t) i]);
            for (int32_t i = 0; i < n; ++i)
            {
                const auto t = (int64_t) input.size();
                input.push_back (in[(size_t) i]);
                const int64_t source = t - distance;
                const float expected = source >= lost && source >= 0 ? input[(size_t) source] : 0.0f;
                ASSERT_EQ (out[(size_t) i], expected) << "round " << round << ", sample " << i << (blocks ? " in blocks" : "");
            }

            const int32_t before = line.line->length;
            ModLine_Set_Predelay (line.line, round % 5 == 0 ? 0.0f : seconds (rng));
            if (line.line->length == before)
                continue;
            distance = (int32_t) (rng() % (uint32_t) line.line->length);
            ModLine_Keep_Recent_Input (line.line, before, distance);
            lost = std::max (lost, (int64_t) input.size() - before);
        }
    }
}
} // namespace nadrix
