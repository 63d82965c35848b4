// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/ParameterLayout.h"

namespace nadrix
{
struct ModulationValue
{
    float depth; // samples
    float rate;  // Hz
};

extern const ModulationValue ModulationTable[ParameterLayout::numLines];
} // namespace nadrix
