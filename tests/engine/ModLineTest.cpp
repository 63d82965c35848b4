// SPDX-License-Identifier: GPL-3.0-or-later
#include "ModLine.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <vector>

namespace
{
    struct Line
    {
        ModLine* line = ModLine_Create();
        Line (float depth, float rate, float predelay, float sampleRate = 44100.0f)
        {
            ModLine_Init (line, depth, rate, predelay, sampleRate);
        }
        ~Line() { ModLine_Destroy (line); }
    };
}

TEST (ModLine, FreshLineWithoutPredelayDelaysByFiftySamples)
{
    Line l (17.0f, 1.41225f, 0.0f);
    EXPECT_EQ (l.line->length, 100);
    EXPECT_EQ (l.line->readIndex, 50);
    EXPECT_EQ (l.line->writeIndex, 0);

    for (int i = 0; i <= 120; ++i)
    {
        const float y = ModLine_Process (l.line, i == 0 ? 1.0f : 0.0f);
        EXPECT_EQ (y, i == 50 ? 1.0f : 0.0f) << "step " << i;
    }
    EXPECT_EQ (l.line->phase, 0u); // 1.41225 Hz never moves the integer phase
}

TEST (ModLine, PredelayIsCappedAtOneSecondAndNeverBelowZero)
{
    Line l (10.0f, 0.5f, 0.089907f);
    EXPECT_EQ (l.line->length, 4064);
    EXPECT_FLOAT_EQ (ModLine_Get_Predelay (l.line), 3964.0f / 44100.0f);

    ModLine_Set_Predelay (l.line, 1.5f);
    EXPECT_EQ (l.line->length, 44200);
    ModLine_Set_Predelay (l.line, 1.0f);
    EXPECT_EQ (l.line->length, 44200);
    EXPECT_EQ (l.line->capacity, 44200);

    ModLine_Set_Predelay (l.line, -0.3f);
    EXPECT_EQ (l.line->length, 100);
    ModLine_Set_Predelay (l.line, NAN);
    EXPECT_EQ (l.line->length, 100);

    Line tooLong (10.0f, 0.5f, 4.0f);
    EXPECT_EQ (tooLong.line->length, tooLong.line->capacity);
}

TEST (ModLine, SampleRateIsClampedAtInit)
{
    EXPECT_EQ (Line (10.0f, 1.0f, 0.0f, 22050.0f).line->sampleRate, 44100.0f);
    EXPECT_EQ (Line (10.0f, 1.0f, 0.0f, 250000.0f).line->sampleRate, 192000.0f);
    EXPECT_EQ (Line (10.0f, 1.0f, 0.0f, 196000.0f).line->sampleRate, 196000.0f);
    EXPECT_EQ (Line (10.0f, 1.0f, 0.0f, 196000.0f).line->capacity, 196100);
}

TEST (ModLine, SineTableWrapsItsIndexAndCarriesAmplitudeAndOffset)
{
    float table[SINUS_TABLE_SIZE];
    Sinus_Init (table, 30.0f, 2.0f);
    EXPECT_EQ (Sinus_Get_Value (table, 4096), table[0]);
    EXPECT_EQ (Sinus_Get_Value (table, 4097), table[1]);
    EXPECT_EQ (table[0], 2.0f);
    EXPECT_NEAR (table[1024], 32.0f, 1e-5f);
    EXPECT_NEAR (table[3072], -28.0f, 1e-5f);
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
        if (rate > 10.7666f)
            EXPECT_NE (perBlock.line->phase, 0u);
    }
}
