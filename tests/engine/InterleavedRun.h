// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/ReverbEngine.h"

#include <vector>

namespace nadrix
{
// Runs interleaved stereo frames (as the reference engine and the pinned
// checksums hold them) through the engine's two channels, in place.
inline void processInterleaved (ReverbEngine& engine, float* frames, int numFrames)
{
    std::vector<float> left ((size_t) numFrames), right ((size_t) numFrames);
    for (int i = 0; i < numFrames; ++i)
    {
        left[(size_t) i] = frames[2 * i];
        right[(size_t) i] = frames[2 * i + 1];
    }
    engine.process (left.data(), right.data(), left.data(), right.data(), numFrames);
    for (int i = 0; i < numFrames; ++i)
    {
        frames[2 * i] = left[(size_t) i];
        frames[2 * i + 1] = right[(size_t) i];
    }
}
} // namespace nadrix
