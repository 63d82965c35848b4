// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <pybind11/pybind11.h>

#include <string>

namespace nadrix
{
// nadrix.analyze: the decay figures of an impulse response (mono or
// stereo float32 audio), as nadrix-render --analyze --json gives them, as
// a dict. `channel`: "both" (their energies summed; "sum" says the same),
// "left" or "right". A silent response is refused (ValueError).
pybind11::dict analyze (const pybind11::object& impulse, double sampleRate, const std::string& channel);
} // namespace nadrix
