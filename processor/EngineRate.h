// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/ModLine.h"

namespace nadrix
{
// The rate the engine runs at for a host's rate: the host's, so that delay
// times, pre-delays and split frequencies keep their seconds and hertz; before
// a host has said its rate (0 Hz), or at one too low to be real, a 44.1 kHz
// time base.
constexpr float engineRateFor (double hostRate)
{
    return hostRate < (double) ModLine_lowestRate ? 44100.0f : (float) hostRate;
}
} // namespace nadrix
