// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/ReverbEngine.h"
#include "tests/engine/InterleavedRun.h"

#include <cstdint>
#include <cstring>
#include <vector>

namespace nadrix
{
// The engine as constructed, given an impulse and then noise from a fixed
// generator in one block: FNV-1a over the output's bits. The engine test pins
// it; the check on another instruction set compares it with this machine's.
inline std::uint64_t constructedEngineChecksum()
{
    std::vector<float> block (2 * 30000);
    std::uint32_t state = 2463534242u;
    for (size_t i = 0; i < block.size(); ++i)
    {
        state ^= state << 13, state ^= state >> 17, state ^= state << 5;
        block[i] = i < 2 ? 1.0f : (float) (state >> 8) / 16777216.0f - 0.5f;
    }
    ReverbEngine engine (44100.0f);
    processInterleaved (engine, block.data(), (int) block.size() / 2);

    std::uint64_t checksum = 14695981039346656037ull;
    for (float sample : block)
    {
        std::uint32_t bits;
        std::memcpy (&bits, &sample, sizeof (bits));
        for (int b = 0; b < 4; ++b)
            checksum = (checksum ^ ((bits >> (8 * b)) & 0xffu)) * 1099511628211ull;
    }
    return checksum;
}
} // namespace nadrix
