// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/engine/ReferenceEngine.h"

#include "engine/ModulationTable.h"
#include "engine/ConstructionTable.h"
#include "engine/ParameterLayout.h"

#include <cmath>

namespace nadrix
{
ReferenceEngine::ReferenceEngine (float rate) : sampleRate (rate)
{
    for (int j = 0; j < numLines; ++j)
    {
        const float* d = ConstructionTable + ParameterLayout::indexOf (j, ParameterLayout::pan);
        delays[j] = DelayLine_Create();
        predelays[j] = ModLine_Create();
        DelayLine_Init (delays[j], d[4], sampleRate, d[2]);
        ModLine_Init (predelays[j], ModulationTable[j].depth, ModulationTable[j].rate, d[3], sampleRate);
        PanGains_Set (&pans[j], d[0]);
        hcGain[j] = d[1];
        active[j] = d[5];
        predelayGain[j] = d[6];
    }
    ThreeBandState_Init (&splitter, (int) lowSplit, (int) midSplit, (int) sampleRate);
}

ReferenceEngine::~ReferenceEngine()
{
    for (int j = 0; j < numLines; ++j)
    {
        DelayLine_Destroy (delays[j]);
        ModLine_Destroy (predelays[j]);
    }
}

void ReferenceEngine::setParameter (int id, float v)
{
    switch (id)
    {
        case 0: mix = v; return;
        case 1: lowSplit = v; ThreeBandState_Update (&splitter, (int) v, (int) midSplit, (int) sampleRate); return;
        case 2: midSplit = v; ThreeBandState_Update (&splitter, (int) lowSplit, (int) v, (int) sampleRate); return;
        case 3: gainLow = v; return;
        case 4: gainMid = v; return;
        case 5: gainHigh = v; return;
        default: break;
    }
    if (id < 7 || id > 356)
        return;

    const int j = (id - 7) / 7;
    switch ((id - 7) % 7)
    {
        case 0: PanGains_Set (&pans[j], v); break;
        case 1: hcGain[j] = v; break;
        case 2: DelayLine_Set_Feedback (delays[j], v); break;
        case 3: setPredelay (j, v); break;
        case 4: DelayLine_Set_Time (delays[j], v); break;
        case 5: active[j] = v; break;
        case 6: predelayGain[j] = v; break;
        default: break;
    }
}

void ReferenceEngine::setPredelay (int j, float seconds)
{
    // A new length puts the read position where a fresh line made with the
    // table's pre-delay and then given this one has it: trunc (L0 / 2) ahead
    // of the write position, modulo the new length; the line reads on from
    // its own recent input there.
    ModLine* line = predelays[j];
    const int32_t before = line->length;
    ModLine_Set_Predelay (line, seconds);
    if (line->length == before)
        return;
    const auto initialLength = (int32_t) (ConstructionTable[ParameterLayout::indexOf (j, ParameterLayout::predelay)] * 44100.0f + 100.0f);
    const auto half = (int32_t) ((double) initialLength * 0.5);
    ModLine_Keep_Recent_Input (line, before, (line->length - half % line->length) % line->length);
}

void ReferenceEngine::process (float* data, int numFrames)
{
    int count = 2;
    for (int j = 0; j < numLines; ++j)
        if (active[j] > 0.5f)
            ++count;
    const auto norm = (float) (count * 0.7);

    for (int i = 0; i < numFrames; ++i)
    {
        const float inL = data[2 * i], inR = data[2 * i + 1];
        const auto x = (double) ((inL + inR) * 0.7f);
        double low, mid, high;
        ThreeBandState_Split (&splitter, &low, &mid, &high, x);
        const double highW = gainHigh * high;
        const auto lowMid = (double) (float) (gainLow * low + gainMid * mid);

        float accL = 0.0f, accR = 0.0f;
        for (int j = 0; j < numLines; ++j)
        {
            if (0.5f > active[j])
                continue;
            const auto in = (float) (predelayGain[j] * (hcGain[j] * highW + lowMid));
            const float z = ModLine_Process (predelays[j], DelayLine_Process (delays[j], in));
            accL += z * pans[j].left;
            accR += z * pans[j].right;
        }

        const float dry = cosf ((float) (mix * M_PI * 0.5));
        const float wet = cosf ((float) ((1.0f - mix) * M_PI * 0.5));
        data[2 * i] = inL * dry + accL / norm * wet;
        data[2 * i + 1] = inR * dry + accR / norm * wet;
    }
}
} // namespace nadrix
