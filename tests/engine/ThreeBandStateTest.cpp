// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/ThreeBandState.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>

namespace nadrix
{
namespace
{
    constexpr double antiDenormal = 2.3283064370807974e-10;

    double noise (std::mt19937& rng) { return std::uniform_real_distribution<double> (-1.0, 1.0) (rng); }
}

TEST (ThreeBandState, BandsSumToTheInputThreeSamplesEarlierAndSilenceNeverGoesDenormal)
{
    std::mt19937 rng (1);
    // In either order of the splits: nothing is reordered, the sum still holds.
    for (auto [lowHz, midHz] : { std::pair { 329, 3405 }, std::pair { 6000, 800 } })
    {
        ThreeBandState s;
        ThreeBandState_Init (&s, lowHz, midHz, 44100);
        double history[3] = {};
        for (int i = 0; i < 5000; ++i)
        {
            const double x = noise (rng);
            double low, mid, high;
            ThreeBandState_Split (&s, &low, &mid, &high, x);
            ASSERT_NEAR (low + mid + high, history[2], 1e-12 * (1.0 + std::abs (history[2]))) << lowHz << " sample " << i;
            history[2] = history[1], history[1] = history[0], history[0] = x;
        }
    }

    ThreeBandState s;
    ThreeBandState_Init (&s, 1000, 5000, 44100);
    double low = 0, mid = 0, high = 0;
    for (int i = 0; i < 20000; ++i)
    {
        ThreeBandState_Split (&s, &low, &mid, &high, 0.0);
        ASSERT_NE (std::fpclassify (low), FP_SUBNORMAL);
        ASSERT_NE (std::fpclassify (high), FP_SUBNORMAL);
    }
    EXPECT_NEAR (low, antiDenormal / s.lowCoefficient, 1e-20); // settled on the offset, never on 0
    EXPECT_NEAR (high, -antiDenormal / s.highCoefficient, 1e-20);
}

TEST (ThreeBandState, ZeroFrequencyHoldsTheCascadeAndUpdateKeepsEveryPole)
{
    std::mt19937 rng (3);
    ThreeBandState s;
    ThreeBandState_Init (&s, 0, 3000, 44100);
    double low, mid, high;
    for (int i = 0; i < 500; ++i)
    {
        ThreeBandState_Split (&s, &low, &mid, &high, noise (rng));
        ASSERT_EQ (low, 0.0); // only the first section moves, by the offset
    }

    const ThreeBandState before = s;
    ThreeBandState_Update (&s, 500, 2000, 44100);
    EXPECT_EQ (0, std::memcmp (before.lowPoles, s.lowPoles, sizeof s.lowPoles));
    EXPECT_EQ (0, std::memcmp (before.highPoles, s.highPoles, sizeof s.highPoles));
    EXPECT_EQ (0, std::memcmp (before.history, s.history, sizeof s.history));
    EXPECT_NEAR (s.lowCoefficient, 2.0 * std::sin (500.0 / 44100.0 * M_PI), 1e-15);
}
} // namespace nadrix
