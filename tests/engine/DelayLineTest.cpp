// SPDX-License-Identifier: GPL-3.0-or-later
#include "DelayLine.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <vector>

namespace
{
    struct Line
    {
        DelayLine* line = DelayLine_Create();
        Line (float time, float feedback, float rate = 44100.0f) { DelayLine_Init (line, time, rate, feedback); }
        ~Line() { DelayLine_Destroy (line); }
    };

    std::vector<float> impulseResponse (DelayLine* line, int steps)
    {
        std::vector<float> out;
        for (int i = 0; i < steps; ++i)
            out.push_back (DelayLine_Process (line, i == 0 ? 1.0f : 0.0f));
        return out;
    }
}

TEST (DelayLine, ImpulseReturnsAfterLengthThenScaledByFeedbackEachPass)
{
    Line l (100.0f / 44100.0f + 1e-7f, 0.5f);
    ASSERT_EQ (l.line->length, 100);

    const auto y = impulseResponse (l.line, 301);
    for (int i = 0; i < 301; ++i)
    {
        const float expected = i == 100 ? 1.0f : i == 200 ? 0.5f : i == 300 ? 0.25f : 0.0f;
        EXPECT_EQ (y[(size_t) i], expected) << "step " << i;
    }
}

TEST (DelayLine, TimesBeyondHalfASecondStopAtCapacity)
{
    Line l (0.8f, 0.0f);
    EXPECT_EQ (l.line->capacity, 22050);
    EXPECT_EQ (l.line->length, 22050);

    DelayLine_Set_Time (l.line, 0.1f);
    DelayLine_Set_Time (l.line, 3.0f);
    EXPECT_EQ (l.line->length, 22050);
    EXPECT_FLOAT_EQ (DelayLine_Get_Time (l.line), 0.5f);
}

TEST (DelayLine, RingIsClearedOnlyWhenTheLengthChanges)
{
    Line l (0.01f, 0.9f);
    const float time = DelayLine_Get_Time (l.line);
    const int32_t length = l.line->length;

    DelayLine_Process (l.line, 1.0f);
    DelayLine_Set_Time (l.line, time); // same length: the impulse stays in the ring
    float returned = 0.0f;
    for (int i = 1; i <= length; ++i)
        returned = DelayLine_Process (l.line, 0.0f);
    EXPECT_EQ (returned, 1.0f);

    DelayLine_Set_Time (l.line, 0.02f); // new length: whatever was in the ring is gone
    for (int i = 0; i < 2 * l.line->length; ++i)
        ASSERT_EQ (DelayLine_Process (l.line, 0.0f), 0.0f);
}

TEST (DelayLine, TimesShorterThanOneSampleRunAsOneSample)
{
    for (float time : { 0.0f, 1e-6f, -0.2f, NAN })
    {
        Line l (time, 0.0f);
        EXPECT_EQ (l.line->length, 1) << time;
        EXPECT_EQ (DelayLine_Process (l.line, 1.0f), 0.0f);
        EXPECT_EQ (DelayLine_Process (l.line, 0.0f), 1.0f);

        DelayLine_Set_Time (l.line, 0.01f);
        DelayLine_Set_Time (l.line, time);
        EXPECT_EQ (l.line->length, 1);
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
            outA[(size_t) i] = DelayLine_Process (perSample.line, in[(size_t) i]);
            ASSERT_EQ (outA[(size_t) i], DelayLine_Process (wholeRing.line, in[(size_t) i])) << "round " << round;
        }
        DelayLine_Process_Block (perBlock.line, in.data(), outB.data(), n);
        ASSERT_EQ (0, std::memcmp (outA.data(), outB.data(), sizeof (float) * (size_t) n)) << "round " << round;
        ASSERT_EQ (perSample.line->position, perBlock.line->position);

        // Shrinking below the current position exercises the remainder wrap.
        const float t = round % 3 == 0 ? 1.0f / 44100.0f : time (rng);
        DelayLine_Set_Time (perSample.line, t);
        DelayLine_Set_Time (perBlock.line, t);
        if (DelayLine_Length_For_Time (wholeRing.line, t) != wholeRing.line->length)
            std::memset (wholeRing.line->buffer, 0, sizeof (float) * (size_t) wholeRing.line->capacity);
        DelayLine_Set_Time (wholeRing.line, t);
    }
}
