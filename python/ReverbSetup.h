// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "python/Reverb.h"

#include <pybind11/pybind11.h>

#include <memory>

namespace nadrix
{
// A reverb set up from what Python hands over, in nadrix-render's order: a
// state, a program, a random room; then single values by name. Whatever
// cannot mean anything is refused with nadrix-render's words, as
// ValueError (or TypeError for the wrong kind of object, FileNotFoundError
// for a state file that is not there).
namespace ReverbSetup
{
    // sample_rate from 8000 to 384000 Hz; program a number or a name;
    // state 1428 bytes or the path of a file of them; random a seed;
    // random_settings "T,R,P,C" or four numbers (tail, room, predelay,
    // complexity), each 0..1, with random only.
    std::unique_ptr<Reverb> make (double sampleRate, const pybind11::object& program, const pybind11::object& state,
                                  const pybind11::object& random, const pybind11::object& randomSettings);

    // A state from bytes or a file's path.
    void restore (Reverb& reverb, const pybind11::object& state);

    // One value: a string as a host reads typed text ("60 %", "250 ms",
    // "L30", "On"), or a number, the normalised value 0..1; a value beyond
    // the parameter's range is refused. Returns the parameter's index.
    int set (Reverb& reverb, const std::string& name, const pybind11::object& value);
    // The index of a parameter by name (any letter case).
    int indexOf (const std::string& name);
}
} // namespace nadrix
