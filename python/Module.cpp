// SPDX-License-Identifier: GPL-3.0-or-later
// The Python module `nadrix`: the reverb on numpy arrays, its impulse
// responses and their decay figures, and audio files as nadrix-render reads
// and writes them.
#include "python/Analysis.h"
#include "python/AudioFiles.h"
#include "python/ImpulseResponse.h"
#include "python/ReverbObject.h"
#include "processor/FactoryPrograms.h"

#include <pybind11/stl.h>

namespace py = pybind11;
using namespace py::literals;

namespace
{
constexpr const char* moduleHelp = R"(Nadrix, a stereo reverb of up to 50 delay lines, on numpy arrays.

The same settings, sample rate and input give the same samples as the
nadrix-render command, to the bit.

Audio is float32: (frames,) for mono, or (channels, frames) with 1 or 2
channels; the output is always stereo, (2, frames). An array of shape
(frames, channels) (what audio file readers give) is taken too, when its
first axis is longer than 2, and its output keeps that layout.

Threads: processing releases the interpreter lock, so Reverb objects on
several threads run at once, one core each. Give each thread its own
Reverb: a Reverb used by a second thread while it works raises
RuntimeError.

    import nadrix
    audio, rate = nadrix.read_audio("dry.wav")
    rv = nadrix.Reverb(rate, random=7, random_settings=(0.4, 0.6, 0.1, 0.5))
    nadrix.write_audio("wet.wav", rv.process(audio, tail="auto"), rate)
    print(nadrix.analyze(nadrix.impulse(rate, random=7), rate)["broadband"]["t30_s"])
)";

constexpr const char* reverbHelp = R"(A Nadrix reverb at a sample rate.

Reverb(sample_rate, program=None, state=None, random=None, random_settings=None)

Set up as nadrix-render sets up the plug-in, in this order:
  state            1428 bytes saved by the plug-in, --save-state or Reverb.state,
                   or the path of a file of them
  program          a factory program by number (0 to 5) or name, any letter case
                   (nadrix.programs() lists them)
  random           a seed (0 to 4294967295): the window's random room, the same
                   room for the same seed on every machine
  random_settings  the RANDOMIZER settings tail, room, predelay, complexity, each
                   0..1, as four numbers or "T,R,P,C" (default 0.2, 0.5, 0.1, 0.3)
Without any of them it starts as a fresh plug-in ("Small Complex Room").
Then set() changes single values.

sample_rate is from 8000 to 384000 Hz.

Errors: ValueError for what cannot mean anything (an unknown name, a value
out of range), TypeError for the wrong kind of object, FileNotFoundError for
a state file that is not there.

Threads: process() releases the interpreter lock, so Reverbs on several
threads run at once. Give each thread its own Reverb: one used by a second
thread while it works raises RuntimeError.
)";

constexpr const char* processHelp = R"(Reverberates audio; returns the stereo output, float32.

process(audio, tail=None)

audio  float32: (frames,) mono, (channels, frames) with 1 or 2 channels, or
       (frames, channels) when the first axis is longer than 2 (the output
       then keeps that layout). Samples must be finite (ValueError); a sample
       beyond +36 dBFS runs as silence, with a warning, as in the plug-in.
tail   None: as many frames out as in. Seconds (0 to 3600): that much more,
       the reverb ringing on after the input. "auto": on until the output has
       stayed 100 dB below its peak in this call for half a second (at most
       300 s), where nadrix-render ends a whole tail.

Calls continue the same reverb: a stream processed in chunks gives the same
samples as one call with all of it. reset() starts afresh.
)";
} // namespace

PYBIND11_MODULE (nadrix, m)
{
    using nadrix::ParameterReading;
    using nadrix::ReverbObject;

    m.doc() = moduleHelp;
    m.attr ("__version__") = NADRIX_VERSION;

    py::class_<ParameterReading> (m, "Parameter", "A parameter's value as the reverb holds it.")
        .def_readonly ("index", &ParameterReading::index, "Its place among the 357, 0 to 356.")
        .def_readonly ("name", &ParameterReading::name, "Its name, as hosts show it: \"Mix\", \"Delay time Dly 3\".")
        .def_readonly ("value", &ParameterReading::value, "The normalised value, 0 to 1, as states and hosts hold it.")
        .def_readonly ("text", &ParameterReading::text, "The value as a host shows it: \"60.0 % wet\", \"250.0 ms\".")
        .def_readonly ("unit", &ParameterReading::unit, "The unit of minimum and maximum: \"%\", \"Hz\", \"ms\", or \"\" for a factor or a switch.")
        .def_readonly ("minimum", &ParameterReading::minimum, "The lowest value, in the unit.")
        .def_readonly ("maximum", &ParameterReading::maximum, "The highest value, in the unit.")
        .def_readonly ("automatable", &ParameterReading::automatable, "Whether hosts may automate it.")
        .def ("__repr__", [] (const ParameterReading& p) {
            return "Parameter(" + py::repr (py::str (p.name)).cast<std::string>() + ", value=" + py::repr (py::float_ (p.value)).cast<std::string>()
                 + ", text=" + py::repr (py::str (p.text)).cast<std::string>() + ")";
        });

    py::class_<ReverbObject> (m, "Reverb", reverbHelp)
        .def (py::init<double, const py::object&, const py::object&, const py::object&, const py::object&>(),
              "sample_rate"_a, "program"_a = py::none(), "state"_a = py::none(), "random"_a = py::none(), "random_settings"_a = py::none())
        .def ("process", &ReverbObject::process, "audio"_a, "tail"_a = py::none(), processHelp)
        .def ("reset", &ReverbObject::reset, "Starts the reverb afresh with its current values: what follows sounds as from a new Reverb with them.")
        .def ("set", &ReverbObject::set, "name"_a, "value"_a,
              "Sets a parameter by name (any letter case): a text as a host reads it (\"60 %\", \"250 ms\", \"L30\", \"On\"),\n"
              "or a number, the normalised value 0..1. A value beyond the parameter's range raises ValueError.")
        .def ("get", &ReverbObject::get, "name"_a, "A parameter by name (any letter case), with its value and text.")
        .def_property_readonly ("parameters", &ReverbObject::parameters, "Every parameter (357), in order, with its value and text.")
        .def_property ("state", &ReverbObject::state, &ReverbObject::setState,
                       "The state as the plug-in saves it (1428 bytes). Setting it (bytes, or a file's path) starts the reverb afresh with its values.")
        .def_property_readonly ("sample_rate", &ReverbObject::sampleRate, "The sample rate, in hertz.")
        .def_property_readonly ("tail_seconds", &ReverbObject::tailSeconds,
                                "How long the running lines ring on after the input stops, in seconds, as the plug-in tells hosts (at most 60).")
        .def ("__repr__", [] (ReverbObject& r) { return "<nadrix.Reverb at " + py::repr (py::float_ (r.sampleRate())).cast<std::string>() + " Hz>"; });

    m.def ("programs", [] { return std::vector<std::string> (nadrix::FactoryPrograms::names, nadrix::FactoryPrograms::names + nadrix::FactoryPrograms::count); },
           "The factory programs' names, by number.");

    m.def ("impulse", &nadrix::impulseResponse, "sample_rate"_a = 44100.0, "program"_a = py::none(), "state"_a = py::none(),
           "random"_a = py::none(), "random_settings"_a = py::none(), "settings"_a = py::none(), "wet_only"_a = false,
           "The impulse response of a reverb set up as Reverb(...) is, then `settings` (a dict of names and values, applied\n"
           "in order) and, with wet_only, Mix at 1 (the reverb alone): a (2, frames) float32 array, the samples\n"
           "nadrix-render --impulse writes. It runs as long as the reverb rings, at most 60 s.");

    m.def ("analyze", &nadrix::analyze, "impulse"_a, "sample_rate"_a, "channel"_a = "both",
           "The decay figures of an impulse response as a dict, those of nadrix-render --analyze --json: per octave band\n"
           "and broadband EDT, T20, T30 (s), C80 (dB), D50 (%), the first arrival and the echo density. A figure that\n"
           "cannot be given is None, with the reason. channel: \"both\" (energies summed), \"left\" or \"right\".");

    m.def ("read_audio", &nadrix::AudioFiles::read, "path"_a,
           "Reads an audio file (WAV, AIFF, FLAC, Ogg, MP3, ...) as nadrix-render does: (audio, sample_rate), audio a\n"
           "(channels, frames) float32 array.");

    m.def ("write_audio", &nadrix::AudioFiles::write, "path"_a, "audio"_a, "sample_rate"_a, "bits"_a = py::none(),
           "Writes stereo audio as nadrix-render writes its output, the kind of file by the name's extension, at `bits`\n"
           "(None: 32-bit float for WAV, the most the kind holds otherwise): the same bytes for the same samples.\n"
           "Written whole under a temporary name, then moved into place.");
}
