// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "python/Reverb.h"

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>

#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace nadrix
{
// A parameter as Python reads it back.
struct ParameterReading
{
    int index;
    std::string name;
    float value;          // normalised 0..1
    std::string text;     // as a host shows it: "60.0 % wet", "250.0 ms"
    std::string unit;     // the unit of minimum and maximum: "%", "Hz", "ms", or "" for a factor or a switch
    float minimum, maximum;
    bool automatable;
};

// nadrix.Reverb: a Reverb behind Python's objects. Audio is processed with
// the interpreter lock released, so objects on several threads run at once;
// one object is used by one thread at a time (a second thread using it
// while it works is refused with RuntimeError, never a crash).
class ReverbObject
{
public:
    ReverbObject (double sampleRate, const pybind11::object& program, const pybind11::object& state,
                  const pybind11::object& random, const pybind11::object& randomSettings);

    void set (const std::string& name, const pybind11::object& value);
    ParameterReading get (const std::string& name);
    std::vector<ParameterReading> parameters();

    pybind11::bytes state();
    void setState (const pybind11::object& state);

    // The input's frames, then `tail`: None (none), seconds, or "auto"
    // (until 100 dB below the output's peak in this call, as nadrix-render
    // ends a whole tail; at most 300 s).
    pybind11::array_t<float> process (const pybind11::object& audio, const pybind11::object& tail);
    void reset();

    double sampleRate() const noexcept { return reverb->sampleRate(); }
    double tailSeconds();

private:
    class Use;
    ParameterReading reading (int index) const;

    std::unique_ptr<Reverb> reverb;
    std::mutex inUse;
};
} // namespace nadrix
