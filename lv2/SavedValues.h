// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

namespace nadrix
{
// The values in a state 0.3.0 saved beside its ports ("StateString"): the
// plug-in's 357 normalised values as 32-bit little-endian floats, in the
// text form of JUCE's MemoryBlock ("1428." and six bits a character from
// ".A-Za-z0-9+", least significant first). Values past the 357th belong to
// no parameter; text that is not of that form gives no values.
std::vector<float> savedValuesFromText (std::string_view text);
} // namespace nadrix
