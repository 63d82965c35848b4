// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>

namespace nadrix
{
// A decimal number as a user types it, read the same in every locale: an
// optional sign, digits with an optional '.', an optional exponent
// ("-1.5e3"), or "inf"/"infinity". An exponent beyond what a double holds
// reads as infinity or zero, whatever its length. On success `end` points
// past the number; text that does not start with one gives nothing.
std::optional<double> readDecimalNumber (const char* text, const char** end);
} // namespace nadrix
