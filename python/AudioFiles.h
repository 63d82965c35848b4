// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>

#include <string>

namespace nadrix
{
// Audio files as nadrix-render reads and writes them, so that a script gets
// the samples the renderer would and writes the bytes it would.
namespace AudioFiles
{
    // nadrix.read_audio: (audio, sample_rate), audio a (channels, frames)
    // float32 array. A damaged file gives what it holds, with a warning.
    pybind11::tuple read (const pybind11::object& path);

    // nadrix.write_audio: stereo audio into a file of the kind its name
    // says (.wav, .flac, ...), at `bits` (None: the kind's most), written
    // whole under a temporary name and then moved into place.
    void write (const pybind11::object& path, const pybind11::object& audio, double sampleRate, const pybind11::object& bits);
}
} // namespace nadrix
