// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

namespace nadrix
{
// One parameter change for the editor: index and normalised value.
struct Param
{
    int32_t index;
    float value;
};

static_assert (sizeof (Param) == 8);
} // namespace nadrix
