// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ParameterLayout.h"

#include <atomic>

constexpr int NadrixPresetCount = 6;

extern const char* const Nadrix_Preset_Names[NadrixPresetCount];

// The factory programs, stored in engine units and rewritten in place to
// normalised values by normalizePresetTable(), once per process.
extern float Nadrix_Preset_Data[NadrixPresetCount][ParameterLayout::numParameters];
extern std::atomic<bool> Nadrix_Normalized;

// Converts the table on the first call of the process, from whichever thread
// gets there first; every other call waits for that conversion to finish.
void normalizePresetTable();
