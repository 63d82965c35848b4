// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ParameterLayout.h"

// The engine's construction table, in engine units and parameter index order.
extern const float Nadrix_Default[ParameterLayout::numParameters];
