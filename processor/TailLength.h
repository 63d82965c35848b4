// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/NadrixViewdata.h"

namespace nadrix
{
// How long the running lines ring on after the input stops, in seconds: for
// each running line its pre-delay plus its delay time for every feedback pass
// until it has fallen by 100 dB (where nadrix-render ends a whole tail), the
// longest of them, at most a minute: hosts size offline renders and keep
// processing silence by it, and a few lines ringing almost for ever should
// not hold them for longer.
double reverbTailSeconds (const LineViews& lines);
} // namespace nadrix
