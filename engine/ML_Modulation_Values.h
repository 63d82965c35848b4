// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ParameterLayout.h"

struct ModulationValue
{
    float depth; // samples
    float rate;  // Hz
};

extern const ModulationValue ML_Modulation_Values[ParameterLayout::numLines];
