// SPDX-License-Identifier: GPL-3.0-or-later
#include "LineSet.h"

#include "ML_Modulation_Values.h"
#include "Nadrix_Default.h"

LineSet::LineSet (float rate) : sampleRate (rate)
{
    using namespace ParameterLayout;

    for (int j = 0; j < numLines; ++j)
    {
        const float* d = Nadrix_Default + indexOf (j, 0);
        delayLines[j] = DelayLine_Create();
        modLines[j] = ModLine_Create();
        DelayLine_Init (delayLines[j], d[delayTime], sampleRate, d[feedback]);
        ModLine_Init (modLines[j], ML_Modulation_Values[j].depth, ML_Modulation_Values[j].rate, d[predelay], sampleRate);
    }
}

LineSet::~LineSet()
{
    for (int j = 0; j < ParameterLayout::numLines; ++j)
    {
        DelayLine_Destroy (delayLines[j]);
        ModLine_Destroy (modLines[j]);
    }
}
