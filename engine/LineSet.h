// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "DelayLine.h"
#include "ModLine.h"
#include "ParameterLayout.h"

// The 50 lines of the reverb as a fresh engine has them at one sample rate:
// each a feedback comb and a pre-delay, with silent rings and their indices
// where the construction table puts them. Built off the audio thread; the
// engine swaps its lines with a set like this one to start afresh.
struct LineSet
{
    explicit LineSet (float sampleRate);
    ~LineSet();

    LineSet (const LineSet&) = delete;
    LineSet& operator= (const LineSet&) = delete;

    float sampleRate;
    DelayLine* delayLines[ParameterLayout::numLines];
    ModLine* modLines[ParameterLayout::numLines];
};
