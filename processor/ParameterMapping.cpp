// SPDX-License-Identifier: GPL-3.0-or-later
#include "ParameterMapping.h"

#include "ParameterLayout.h"

#include <algorithm>
#include <cmath>

namespace
{
    bool isSplitFrequency (int index) { return index == ParameterLayout::splitFreqLow || index == ParameterLayout::splitFreqMid; }
    bool isBandGain (int index) { return index >= ParameterLayout::gainLow && index <= ParameterLayout::gainHigh; }
    bool isPan (int index) { return index >= ParameterLayout::numGlobals && ParameterLayout::kindOf (index) == ParameterLayout::pan; }
    bool isFeedback (int index) { return index >= ParameterLayout::numGlobals && ParameterLayout::kindOf (index) == ParameterLayout::feedback; }
}

float ParameterMapping::engineValueFor (int index, float n)
{
    if (isSplitFrequency (index))
        return n * n * splitFrequencySpan + lowestSplitFrequency;
    if (isBandGain (index))
        return n + n;
    if (isPan (index))
        return (n + n) - 1.0f;
    if (isFeedback (index))
        return std::min (n, highestFeedback);
    return n;
}

float ParameterMapping::normalisedFromStored (int index, float v)
{
    if (isSplitFrequency (index))
        return std::sqrt ((v - lowestSplitFrequency) / 9980.0f);
    if (isBandGain (index))
        return v * 0.5f;
    if (isPan (index))
        return (v + 1.0f) * 0.5f;
    return v;
}
