// SPDX-License-Identifier: GPL-3.0-or-later
#include "Sinus.h"

#include <cmath>

void Sinus_Init (float* table, float amplitude, float offset)
{
    Sinus_Init_First (table, amplitude, offset, SINUS_TABLE_SIZE);
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
    return table[index & (SINUS_TABLE_SIZE - 1)];
}
