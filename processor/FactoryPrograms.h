// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/ParameterLayout.h"

#include <array>

namespace nadrix::FactoryPrograms
{
    constexpr int count = 6;
    // "Small Complex Room" supplies every value a fresh instance starts with.
    constexpr int startProgram = 5;

    extern const char* const names[count];

    // The factory programs as stored, in engine units (Hz, linear gains 0..2,
    // pan -1..+1, seconds), each in parameter index order. Program 0 is the
    // engine's construction table and stores nothing here.
    extern const float stored[count][ParameterLayout::numParameters];

    // A parameter's value in a program, normalised 0..1 as the host sees it.
    // The normalised copy of the whole table is made once per process, by
    // whichever thread asks first; later calls only read it.
    float normalised (int program, int index);

    // Every parameter of a program in engine units, in index order: what an
    // engine is built with to start as the program (startProgram: a fresh
    // instance).
    std::array<float, ParameterLayout::numParameters> engineValues (int program);
}
