// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/ParameterLayout.h"

namespace nadrix
{
// The engine's construction table, in engine units and parameter index order.
extern const float ConstructionTable[ParameterLayout::numParameters];
} // namespace nadrix
