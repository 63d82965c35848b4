// SPDX-License-Identifier: GPL-3.0-or-later
#include "ParameterNames.h"

#include "ParameterLayout.h"

const char* const NadrixGlobalParamNames[] = {
    "Mix", "Split Freq LOW", "Split Freq MID", "Gain Low", "Gain Mid", "Gain High", "UI Zoom", nullptr,
};

const char* const NadrixDelaylineParamNames[] = {
    "Pan Dly ", "HC Gain Dly ", "Feedback Dly ", "Predelay Dly ", "Delay time Dly ", "Active Dly ", "Predelay gain Dly ", nullptr,
};

std::string parameterName (int index)
{
    using namespace ParameterLayout;

    if (index < 0 || index >= numParameters)
        return {};
    if (index < numGlobals)
        return NadrixGlobalParamNames[index];
    return NadrixDelaylineParamNames[kindOf (index)] + std::to_string (lineOf (index));
}

int parameterIndex (const std::string& name)
{
    for (int i = 0; i < ParameterLayout::numParameters; ++i)
        if (parameterName (i) == name)
            return i;
    return -1;
}
