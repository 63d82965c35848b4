// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

namespace nadrix
{
// Builds a random reverb from the four RANDOMIZER settings (each 0..1):
// complexity sets how many lines run, room size the spread of delay and
// pre-delay times, predelay the base pre-delay, tail time the feedback.
// Everything else is drawn in 10000 steps, from the C library's rand() (never
// seeded here) unless another source of draws is given. Writes normalised
// values by parameter index, in the order the host will see them.
struct RandomRenderSettings
{
    float complexity = 0.3f;
    float roomSize = 0.5f;
    float predelay = 0.1f;
    float tailTime = 0.2f;
};

// One draw: (rand() mod 10000) / 10000, so 0, 0.0001, ..., 0.9999.
float randomRenderDraw();

void renderRandomReverb (const RandomRenderSettings& settings, const std::function<void (int index, float value)>& write,
                         const std::function<float()>& draw = randomRenderDraw);
} // namespace nadrix
