// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/Sinus.h"

#include <cmath>

namespace nadrix
{
void Sinus_Init (float* table, float amplitude, float offset)
{
    Sinus_Init_First (table, amplitude, offset, Sinus_tableSize);
}

void Sinus_Init_First (float* table, float amplitude, float offset, int32_t count)
{
    for (int32_t i = 0; i < count; ++i)
    {
        // The step i / 4096 is taken in float, the angle in double, the sine in float.
        const float step = (float) i * 0.000244140625f;
        const auto angle = (float) (2.0 * ((double) step * M_PI));
        table[i] = amplitude * std::sin (angle) + offset;
    }
}

float Sinus_Get_Value (const float* table, int32_t index)
{
    return table[index & (Sinus_tableSize - 1)];
}
} // namespace nadrix
