// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/ReverbEngine.h"
#include "tests/engine/InterleavedRun.h"
#include "tests/engine/ReferenceEngine.h"
#include "engine/ParameterLayout.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

namespace nadrix
{
namespace
{
    // A value in engine units that the processor's mappings can produce for id.
    float randomEngineValue (int id, std::mt19937& rng)
    {
        std::uniform_real_distribution<float> unit (0.0f, 1.0f);
        const float n = unit (rng);
        if (id == 1 || id == 2)
            return n * n * 9080.0f + 20.0f;
        if (id >= 3 && id <= 5)
            return n + n;
        if (id < 7)
            return n;
        switch ((id - 7) % 7)
        {
            case 0: return (n + n) - 1.0f;
            case 2: return n * 0.98f;
            case 5: return (float) (rng() % 3) * 0.5f; // off, exactly 0.5, on
            default: return n;
        }
    }
}

TEST (EngineDifferential, BlockWiseEngineMatchesFrameByFrameReferenceToTheBit)
{
    ReverbEngine engine (44100.0f);
    ReferenceEngine reference (44100.0f);
    std::mt19937 rng (2024);
    std::uniform_real_distribution<float> signal (-1.0f, 1.0f);
    const int blockSizes[] = { 0, 1, 7, 64, 255, 256, 257, 512, 1000, 4096 };

    for (int round = 0; round < 120; ++round)
    {
        const int frames = blockSizes[rng() % std::size (blockSizes)];
        std::vector<float> a ((size_t) frames * 2);
        for (auto& s : a)
            s = round % 10 == 9 ? 0.0f : signal (rng); // some silent blocks: the tails alone
        std::vector<float> b = a;

        processInterleaved (engine, a.data(), frames);
        reference.process (b.data(), frames);
        const bool sameBits = a.empty() || std::memcmp (a.data(), b.data(), a.size() * sizeof (float)) == 0; // no null pointers to memcmp
        ASSERT_TRUE (sameBits) << "round " << round << ", " << frames << " frames";

        // Between blocks: a handful of random changes, and now and then a
        // delay time that changes and changes back, which must still clear the ring.
        for (int k = 0; k < 6; ++k)
        {
            const int id = (int) (rng() % 360);
            const float value = randomEngineValue (id, rng);
            engine.setParameter (id, value);
            reference.setParameter (id, value);
        }
        if (round % 7 == 3)
        {
            const int id = ParameterLayout::indexOf ((int) (rng() % 50), ParameterLayout::delayTime);
            for (float value : { 0.3f, 0.011f })
            {
                engine.setParameter (id, value);
                reference.setParameter (id, value);
            }
        }
    }
}
} // namespace nadrix
