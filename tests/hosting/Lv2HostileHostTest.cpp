// SPDX-License-Identifier: GPL-3.0-or-later
// The LV2 plug-in under a hostile host: every control port in turn set to
// values no sane host writes, through lilv as headless hosts load it.
#include "tests/hosting/HostileHostKit.h"
#include "tests/hosting/Lv2TestHost.h"

#include <gtest/gtest.h>

namespace nadrix
{
namespace
{
    constexpr int block = 512;

    // A quarter of a second of noise, then silence: what is left after half
    // a second still sounds (the reverb rings) and is finite.
    bool stillRings (Lv2TestHost& host)
    {
        std::vector<float> left (block), right (block);
        double tail = 0.0;
        for (int b = 0; b < 86; ++b) // a second at 44.1 kHz
        {
            const bool input = b < 22;
            const auto noise = loudNoise (block, (unsigned) b);
            for (int i = 0; i < block; ++i)
                left[(size_t) i] = right[(size_t) i] = input ? 0.25f * noise[(size_t) i] : 0.0f;
            host.run (left.data(), right.data(), left.data(), right.data(), block);
            if (! boundedAndFinite (left.data(), block) || ! boundedAndFinite (right.data(), block))
                return false;
            if (b >= 43)
                for (int i = 0; i < block; ++i)
                    tail += (double) left[(size_t) i] * left[(size_t) i] + (double) right[(size_t) i] * right[(size_t) i];
        }
        return tail > 1.0e-6;
    }
}

TEST (Lv2HostileHost, EveryControlPortTakesAnyValueAndTheReverbRecovers)
{
    Lv2TestHost host (NADRIX_LV2_BUNDLE, NADRIX_LV2_URI_TEXT, 44100.0, block);
    ASSERT_EQ (host.failure(), "");
    ASSERT_TRUE (stillRings (host));

    const auto noise = loudNoise (block, 7);
    std::vector<float> left (block), right (block);
    int cases = 0;
    for (const auto& symbol : host.controlSymbols())
    {
        const float sane = host.control (symbol);
        for (const float value : hostileValues (host.minimum (symbol), host.maximum (symbol)))
        {
            host.setControl (symbol, value);
            left = noise;
            right = noise;
            host.run (left.data(), right.data(), left.data(), right.data(), block);
            ASSERT_TRUE (boundedAndFinite (left.data(), block) && boundedAndFinite (right.data(), block)) << symbol << " = " << value;
            ++cases;
        }
        host.setControl (symbol, sane);
        ASSERT_TRUE (stillRings (host)) << "silent or not finite after " << symbol << " came back to " << sane;
    }
    EXPECT_GE (cases, 357 * 7);
}
} // namespace nadrix
