// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

namespace nadrix
{
// A block of stereo audio as four channel pointers: the input and the output,
// which may be the same memory (processing in place). Every stage reads a
// frame's input before it writes that frame's output.
struct StereoBlock
{
    const float* inLeft;
    const float* inRight;
    float* outLeft;
    float* outRight;

    // The same block from frame `offset` on.
    StereoBlock from (int32_t offset) const noexcept
    {
        return { inLeft + offset, inRight + offset, outLeft + offset, outRight + offset };
    }
};
} // namespace nadrix
