#pragma once

#include "ParameterLayout.h"

struct ModulationValue
{
    float depth; // samples
    float rate;  // Hz
};

extern const ModulationValue ML_Modulation_Values[ParameterLayout::numLines];
