// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/PanGains.h"

namespace nadrix
{
namespace
{
    constexpr float minus3dB = 0.70794576f;
}

void PanGains_Set (PanGains* gains, float pan)
{
    if (pan > 0.0f)
    {
        gains->left = (1.0f - pan) * minus3dB;
        gains->right = gains->left + pan;
    }
    else
    {
        gains->right = (1.0f + pan) * minus3dB;
        gains->left = gains->right - pan;
    }

    gains->pan = pan;
}
} // namespace nadrix
