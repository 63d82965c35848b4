// SPDX-License-Identifier: GPL-3.0-or-later
#include "lv2/ParameterPorts.h"

#include "processor/FactoryPrograms.h"

namespace nadrix
{
ParameterPorts::ParameterPorts() noexcept
{
    for (int i = 0; i < count; ++i)
    {
        held[i] = FactoryPrograms::normalised (FactoryPrograms::startProgram, i);
        lastSeen[i] = std::numeric_limits<float>::quiet_NaN(); // every port is read at the first run
    }
}

float ParameterPorts::normalisedOf (int index, float shown) noexcept
{
    for (int program = 0; program < FactoryPrograms::count; ++program)
    {
        const float n = FactoryPrograms::normalised (program, index);
        if (ParameterInfo::shownValue (index, n) == shown)
            return n;
    }
    return std::clamp (ParameterInfo::normalisedFromShown (index, shown), 0.0f, 1.0f);
}

void ParameterPorts::restored (int index, float normalisedValue) noexcept
{
    held[index] = normalisedValue;
    lastSeen[index] = std::numeric_limits<float>::quiet_NaN();
    justRestored.set ((size_t) index);
}
} // namespace nadrix
