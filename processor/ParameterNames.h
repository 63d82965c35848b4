// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

// Parameter names, which are also their identifiers: the globals by index,
// the per-line ones as a stem followed by the line number ("Pan Dly 0").
extern const char* const NadrixGlobalParamNames[];
extern const char* const NadrixDelaylineParamNames[];

std::string parameterName (int index);

// The index of the parameter with this exact name, or -1.
int parameterIndex (const std::string& name);
