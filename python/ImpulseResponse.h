// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>

namespace nadrix
{
// nadrix.impulse: the impulse response of a reverb set up as nadrix.Reverb
// is (and then `settings`, a mapping of names to values, in its order; Mix
// at 1 with `wetOnly`), as long as nadrix-render --impulse makes it: a
// (2, frames) float32 array with the same samples.
pybind11::array_t<float> impulseResponse (double sampleRate, const pybind11::object& program, const pybind11::object& state,
                                          const pybind11::object& random, const pybind11::object& randomSettings,
                                          const pybind11::object& settings, bool wetOnly);
} // namespace nadrix
