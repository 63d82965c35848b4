// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

namespace nadrix
{
// Builds a random reverb from the four RANDOMIZER settings (each 0..1):
// complexity sets how many lines run, room size the spread of delay and
// pre-delay times, predelay the base pre-delay, tail time the feedback.
// Everything else is drawn from `draw` (SeededDraws: 10000 steps from 0 to
// 0.9999). Writes normalised values by parameter index, in the order the
// host will see them.
struct RandomRenderSettings
{
    float complexity = 0.3f;
    float roomSize = 0.5f;
    float predelay = 0.1f;
    float tailTime = 0.2f;
};

void renderRandomReverb (const RandomRenderSettings& settings, const std::function<void (int index, float value)>& write,
                         const std::function<float()>& draw);
} // namespace nadrix
