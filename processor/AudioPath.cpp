// SPDX-License-Identifier: GPL-3.0-or-later
#include "processor/AudioPath.h"

#include <algorithm>
#include <cmath>

namespace nadrix
{
namespace
{
    inline float usableOrSilence (float x, int& replaced) noexcept
    {
        const bool usable = std::abs (x) <= AudioPath::inputBound; // false for not-a-number too
        replaced += usable ? 0 : 1; // without a branch, so that the loops over a block vectorise
        return usable ? x : 0.0f;
    }

    inline float withinOutputLimit (float x) noexcept
    {
        return x > AudioPath::outputLimit ? AudioPath::outputLimit : x < -AudioPath::outputLimit ? -AudioPath::outputLimit : x;
    }
}

int AudioPath::process (float* left, float* right, bool stereoInput, int frames) noexcept
{
    if (left == nullptr || frames <= 0)
        return 0;

    stereoInput = stereoInput && right != nullptr;
    int replaced = 0;
    for (int i = 0; i < frames; ++i)
        left[i] = usableOrSilence (left[i], replaced);
    if (stereoInput)
        for (int i = 0; i < frames; ++i)
            right[i] = usableOrSilence (right[i], replaced);

    if (right != nullptr)
    {
        engine.process (left, stereoInput ? right : left, left, right, frames);
        for (int i = 0; i < frames; ++i)
        {
            left[i] = withinOutputLimit (left[i]);
            right[i] = withinOutputLimit (right[i]);
        }
        return replaced;
    }

    for (int start = 0; start < frames; start += (int) unheardRight.size())
    {
        const int n = std::min ((int) unheardRight.size(), frames - start);
        engine.process (left + start, left + start, left + start, unheardRight.data(), n);
    }
    for (int i = 0; i < frames; ++i)
        left[i] = withinOutputLimit (left[i]);
    return replaced;
}
} // namespace nadrix
