// SPDX-License-Identifier: GPL-3.0-or-later
// Every variant of the line pass the machine can run gives the bits of the
// primitives run step by step, at every distance between the pre-delay's
// write and read slots (the pass cuts its stretches by that distance).
#include "engine/LineKernel.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace nadrix
{
namespace
{
    struct Line
    {
        DelayLine* comb = DelayLine_Create();
        ModLine* predelay = ModLine_Create();
        Line (float combSeconds, int32_t distance)
        {
            DelayLine_Init (comb, combSeconds, 44100.0f, 0.7f);
            ModLine_Init (predelay, 10.0f, 0.5f, 0.01f, 44100.0f);
            predelay->readIndex = (predelay->writeIndex - distance + predelay->length) % predelay->length;
        }
        ~Line()
        {
            DelayLine_Destroy (comb);
            ModLine_Destroy (predelay);
        }
    };
}

TEST (LineKernel, EveryVariantMatchesThePrimitivesAtEveryPredelayDistance)
{
    std::mt19937 rng (9);
    std::uniform_real_distribution<float> signal (-1.0f, 1.0f);
    std::vector<double> high (LineKernel_maxFrames);
    std::vector<float> lowMid (LineKernel_maxFrames), out (LineKernel_maxFrames), left (LineKernel_maxFrames), right (LineKernel_maxFrames);
    const int32_t blockSizes[] = { 1, 7, 16, 31, 64, 256 };
    const auto best = LineKernel_In_Use();

    for (auto variant : { LineKernelVariant::generic, LineKernelVariant::avx2, LineKernelVariant::avx512 })
    {
        if (! LineKernel_Supports (variant))
            continue;
        LineKernel_Use (variant);
        ASSERT_EQ (LineKernel_In_Use(), variant);

        for (int32_t distance : { 0, 1, 2, 3, 7, 8, 9, 15, 16, 17, 100, 540 })
        {
            Line pass (0.003f, distance), steps (0.003f, distance);
            const LineKernelLine line { pass.comb, pass.predelay, 0.8, 0.6, 0.3f, 0.9f, ModLine_Reads_Unmodulated (pass.predelay) };
            ASSERT_TRUE (line.unmodulated);

            for (int round = 0; round < 40; ++round)
            {
                const int32_t n = blockSizes[(size_t) round % std::size (blockSizes)];
                for (int32_t i = 0; i < n; ++i)
                {
                    high[(size_t) i] = (double) signal (rng);
                    lowMid[(size_t) i] = signal (rng);
                    left[(size_t) i] = right[(size_t) i] = 0.25f;
                }
                const LineKernelChunk chunk { high.data(), lowMid.data(), n };
                if (round % 2 == 0)
                    LineKernel_Run_Line (&chunk, &line, out.data());
                else
                    LineKernel_Run_Lines (&chunk, &line, 1, left.data(), right.data());

                for (int32_t i = 0; i < n; ++i)
                {
                    const auto x = (float) (0.8 * (0.6 * high[(size_t) i] + (double) lowMid[(size_t) i]));
                    const float o = ModLine_Process (steps.predelay, DelayLine_Process (steps.comb, x));
                    if (round % 2 == 0)
                        ASSERT_EQ (out[(size_t) i], o) << "variant " << (int) variant << ", distance " << distance << ", round " << round;
                    else
                        ASSERT_EQ (left[(size_t) i], 0.25f + o * 0.3f) << "variant " << (int) variant << ", distance " << distance;
                }
            }
        }
    }
    LineKernel_Use (best);
}
} // namespace nadrix
