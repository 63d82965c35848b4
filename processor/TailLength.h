// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "NadrixViewdata.h"

// How long the running lines ring on after the input stops, in seconds: for
// each running line its pre-delay plus its delay time for every feedback pass
// until it has fallen by 60 dB, the longest of them, at most 30 s.
double reverbTailSeconds (const NadrixViewdata* lines, int numLines);
