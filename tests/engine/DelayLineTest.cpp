// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/DelayLine.h"

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
        DelayLine* line = DelayLine_Create();
        Line (float time, float feedback, float rate = 44100.0f) { DelayLine_Init (line, time, rate, feedback); }
        ~Line() { DelayLine_Destroy (line); }
        float step (float x) { return DelayLine_Process (line, x); }
    };
}

TEST (DelayLine, LengthsStayBetweenOneSampleAndHalfASecondAndTheRingClearsOnlyOnChange)
{
    Line l (100.0f / 44100.0f + 1e-7f, 0.5f);
    ASSERT_EQ (l.line->length, 100);
    for (int i = 0; i <= 300; ++i) // back after the length, scaled by the feedback each pass
        ASSERT_EQ (l.step (i == 0 ? 1.0f : 0.0f), i == 100 ? 1.0f : i == 200 ? 0.5f : i == 300 ? 0.25f : 0.0f) << "step " << i;

    l.step (1.0f);
    DelayLine_Set_Time (l.line, DelayLine_Get_Time (l.line)); // the same length: the impulse stays
    for (int i = 1; i < 100; ++i)
        l.step (0.0f);
    EXPECT_EQ (l.step (0.0f), 1.0f);
    DelayLine_Set_Time (l.line, 0.02f); // a new length: the ring is silent
    for (int i = 0; i < 2 * l.line->length; ++i)
        ASSERT_EQ (l.step (0.0f), 0.0f);

    DelayLine_Set_Time (l.line, 3.0f);
    EXPECT_EQ (l.line->length, 22050);
    EXPECT_FLOAT_EQ (DelayLine_Get_Time (l.line), 0.5f);
    for (float time : { 0.0f, 1e-6f, -0.2f, NAN })
    {
        Line shortest (time, 0.0f);
        EXPECT_EQ (shortest.line->length, 1) << time;
        EXPECT_EQ (shortest.step (1.0f), 0.0f);
        EXPECT_EQ (shortest.step (0.0f), 1.0f);
    }
}

TEST (DelayLine, BlockProcessingMatchesSampleProcessingAcrossLengthChanges)
{
    // wholeRing clears its whole ring at every change of length; the others
    // clear only the part the new length reads, which must sound the same.
    Line perSample (0.03f, 0.8f), perBlock (0.03f, 0.8f), wholeRing (0.03f, 0.8f);
    std::mt19937 rng (7);
    std::uniform_real_distribution<float> signal (-1.0f, 1.0f), time (0.0f, 0.6f);
    std::vector<float> in (700), outA (700), outB (700);

    for (int round = 0; round < 60; ++round)
    {
        const auto n = (int32_t) (rng() % 700);
        for (auto& s : in)
            s = signal (rng);
        for (int32_t i = 0; i < n; ++i)
        {
            outA[(size_t) i] = perSample.step (in[(size_t) i]);
            ASSERT_EQ (outA[(size_t) i], wholeRing.step (in[(size_t) i])) << "round " << round;
        }
        DelayLine_Process_Block (perBlock.line, in.data(), outB.data(), n);
        ASSERT_EQ (0, std::memcmp (outA.data(), outB.data(), sizeof (float) * (size_t) n)) << "round " << round;

        // Shrinking below the current position exercises the remainder wrap.
        const float t = round % 3 == 0 ? 1.0f / 44100.0f : time (rng);
        DelayLine_Set_Time (perSample.line, t);
        DelayLine_Set_Time (perBlock.line, t);
        if (DelayLine_Length_For_Time (wholeRing.line, t) != wholeRing.line->length)
            std::memset (wholeRing.line->buffer, 0, sizeof (float) * (size_t) wholeRing.line->capacity);
        DelayLine_Set_Time (wholeRing.line, t);
    }
}
} // namespace nadrix
