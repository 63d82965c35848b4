// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/ConstructionTable.h"

#include "engine/DelayLine.h"
#include "engine/ModLine.h"
#include "engine/PanGains.h"
#include "engine/ThreeBandState.h"

namespace nadrix
{
// The reverb written the obvious way: frame by frame, one sample-level call
// per line, every setting applied at once. The block-wise engine must match
// it to the bit.
class ReferenceEngine
{
public:
    explicit ReferenceEngine (float sampleRate);
    ~ReferenceEngine();

    void setParameter (int id, float value);
    void process (float* data, int numFrames);

private:
    static constexpr int numLines = 50;
    void setPredelay (int line, float seconds);

    float mix = ConstructionGlobals[ParameterLayout::mix], midSplit = ConstructionGlobals[ParameterLayout::splitFreqMid];
    float lowSplit = ConstructionGlobals[ParameterLayout::splitFreqLow];
    float gainLow = ConstructionGlobals[ParameterLayout::gainLow], gainMid = ConstructionGlobals[ParameterLayout::gainMid];
    float gainHigh = ConstructionGlobals[ParameterLayout::gainHigh];
    DelayLine* delays[numLines];
    ModLine* predelays[numLines];
    ThreeBandState splitter;
    float hcGain[numLines], predelayGain[numLines], active[numLines];
    PanGains pans[numLines];
    float sampleRate;
};
} // namespace nadrix
