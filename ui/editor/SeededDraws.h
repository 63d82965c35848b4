// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <random>

namespace nadrix
{
// The random reverb's draws from a seed: the same seed gives the same room
// on every machine and with every standard library, since the Mersenne
// Twister's sequence is fixed by the C++ standard. The window and
// `nadrix-render --random` draw from it alike, so a room made in the window
// is made again from its seed. Draws come in 10000 steps: 0, 0.0001, ...,
// 0.9999.
class SeededDraws
{
public:
    explicit SeededDraws (std::uint32_t seed) : generator (seed) {}

    float operator()() { return (float) (generator() % 10000u) / 10000.0f; }

private:
    std::mt19937 generator;
};
} // namespace nadrix
