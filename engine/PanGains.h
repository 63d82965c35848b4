// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace nadrix
{
// The two channel gains of one line and the pan (-1 left .. +1 right) they
// came from: -3 dB on both sides at the centre, linear in the pan on each half.
struct PanGains
{
    float left;
    float right;
    float pan;
};

void PanGains_Set (PanGains* gains, float pan);
} // namespace nadrix
