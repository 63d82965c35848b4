// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

namespace nadrix
{
// A 4096-entry sine table: one full cycle, amplitude and offset in the
// caller's units (the pre-delay uses samples).
constexpr int32_t Sinus_tableSize = 4096;

void Sinus_Init (float* table, float amplitude, float offset);
// Only the first `count` entries, for a reader that never reads further.
void Sinus_Init_First (float* table, float amplitude, float offset, int32_t count);
float Sinus_Get_Value (const float* table, int32_t index);
} // namespace nadrix
