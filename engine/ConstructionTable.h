// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/ParameterLayout.h"

namespace nadrix
{
// The engine's construction table, in engine units and parameter index
// order: factory program 0, "Bright Ambience". The engine is built with its
// lines; its first seven values, the globals, only that program uses.
extern const float ConstructionTable[ParameterLayout::numParameters];

// The globals a bare engine starts with (mix, splits, band gains, by
// ParameterLayout::Global): its own, not the table's. A plug-in replaces
// them all at once with its start values before anything is heard.
extern const float ConstructionGlobals[ParameterLayout::gainHigh + 1];
} // namespace nadrix
