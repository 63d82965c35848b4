// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace nadrix
{
// When a line runs, from its "active" value: from one half on. The level
// the reverb divides by counts a line only above one half, so a line at
// exactly 0.5 runs without being counted. Every reader of the value (the
// engine, the tail estimate, the window's fan, its texts) asks here.
namespace LineActivity
{
    constexpr float threshold = 0.5f;

    constexpr bool isRunning (float active) { return ! (threshold > active); }
    constexpr bool isCounted (float active) { return active > threshold; }
}
} // namespace nadrix
