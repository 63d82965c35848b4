// SPDX-License-Identifier: GPL-3.0-or-later
#include "python/ReverbSetup.h"

#include "processor/FactoryPrograms.h"
#include "processor/ParameterText.h"
#include "tools/nadrix-render/NearestName.h"
#include "tools/nadrix-render/SettingReader.h"

#include <pybind11/stl.h>

#include <cmath>
#include <fstream>
#include <iterator>
#include <vector>

namespace py = pybind11;

namespace nadrix::ReverbSetup
{
namespace
{
    constexpr double lowestRate = 8000.0, highestRate = 384000.0;

    std::string typeName (const py::handle& o) { return py::str (o.get_type().attr ("__name__")).cast<std::string>(); }

    int programOf (const py::object& program)
    {
        if (py::isinstance<py::int_> (program) && ! py::isinstance<py::bool_> (program))
        {
            const auto number = program.cast<long long>();
            if (number < 0 || number >= FactoryPrograms::count)
                throw py::value_error ("unknown program " + std::to_string (number) + ": the programs are 0 to "
                                       + std::to_string (FactoryPrograms::count - 1) + " (see nadrix.programs())");
            return (int) number;
        }
        if (! py::isinstance<py::str> (program))
            throw py::type_error ("program is a number or a name, not " + typeName (program));
        const juce::String name (juce::CharPointer_UTF8 (program.cast<std::string>().c_str()));
        if (const auto found = SettingReader::findProgram (name))
            return *found;
        throw py::value_error (("unknown program '" + name + "'" + didYouMean (name, SettingReader::programNames()) + " (see nadrix.programs())").toStdString());
    }

    std::uint32_t seedOf (const py::object& random)
    {
        constexpr const char* rule = "random takes a seed, a whole number from 0 to 4294967295";
        if (! py::isinstance<py::int_> (random) || py::isinstance<py::bool_> (random))
            throw py::type_error (std::string (rule) + ", not " + typeName (random));
        if (py::int_ (random) < py::int_ (0) || py::int_ (random) > py::int_ (4294967295ULL))
            throw py::value_error (rule);
        return random.cast<std::uint32_t>();
    }

    // Four numbers are read as their text "T,R,P,C" is, the renderer's way.
    RandomRenderSettings randomSettingsOf (const py::object& given)
    {
        constexpr const char* rule = "random_settings takes four numbers from 0 to 1, tail, room, predelay and complexity, like (0.2, 0.5, 0.1, 0.3) or \"0.2,0.5,0.1,0.3\"";
        std::string text;
        if (py::isinstance<py::str> (given))
            text = given.cast<std::string>();
        else if (py::isinstance<py::sequence> (given) && py::len (given) == 4)
            for (const auto v : given.cast<py::sequence>())
            {
                if (py::isinstance<py::bool_> (v) || ! (py::isinstance<py::float_> (v) || py::isinstance<py::int_> (v)))
                    throw py::type_error (rule);
                text += (text.empty() ? "" : ",") + py::repr (py::float_ (v.cast<double>())).cast<std::string>();
            }
        if (const auto s = SettingReader::readRandomSettings (juce::String (juce::CharPointer_UTF8 (text.c_str()))))
            return *s;
        throw py::value_error (std::string (rule) + (py::isinstance<py::str> (given) ? ", not '" + text + "'" : std::string()));
    }

    std::vector<unsigned char> stateBytesOf (const py::object& state, std::string& named)
    {
        if (py::isinstance<py::bytes> (state) || py::isinstance<py::bytearray> (state) || py::isinstance<py::memoryview> (state))
        {
            named = "state";
            const auto bytes = py::bytes (state).cast<std::string>();
            return { bytes.begin(), bytes.end() };
        }
        if (! py::isinstance<py::str> (state) && ! py::hasattr (state, "__fspath__"))
            throw py::type_error ("state is 1428 bytes or the path of a file of them, not " + typeName (state));

        const auto path = py::module_::import ("os").attr ("fspath") (state).cast<std::string>();
        named = "state '" + path + "'";
        std::ifstream file (path, std::ios::binary);
        if (! file)
        {
            PyErr_SetObject (PyExc_FileNotFoundError, py::str ("cannot read state '" + path + "': no such file").ptr());
            throw py::error_already_set();
        }
        return { std::istreambuf_iterator<char> (file), std::istreambuf_iterator<char>() };
    }
}

std::unique_ptr<Reverb> make (double sampleRate, const py::object& program, const py::object& state,
                              const py::object& random, const py::object& randomSettings)
{
    if (! (sampleRate >= lowestRate && sampleRate <= highestRate))
        throw py::value_error ("sample_rate must be a sample rate from 8000 to 384000 Hz");
    if (! randomSettings.is_none() && random.is_none())
        throw py::value_error ("random_settings goes with random=SEED");

    // Everything is read before the reverb is made: a refusal leaves nothing half set.
    const auto programNumber = program.is_none() ? -1 : programOf (program);
    const auto seed = random.is_none() ? std::optional<std::uint32_t>() : seedOf (random);
    const auto roomSettings = randomSettings.is_none() ? RandomRenderSettings() : randomSettingsOf (randomSettings);

    auto reverb = std::make_unique<Reverb> (sampleRate);
    if (! state.is_none())
        restore (*reverb, state);
    if (programNumber >= 0)
        reverb->selectProgram (programNumber);
    if (seed.has_value())
        reverb->buildRandomRoom (*seed, roomSettings);
    return reverb;
}

void restore (Reverb& reverb, const py::object& state)
{
    std::string named;
    const auto bytes = stateBytesOf (state, named);
    if (bytes.size() != (size_t) Reverb::stateBytes)
        throw py::value_error ("cannot use " + named + ": a Nadrix state is " + std::to_string (Reverb::stateBytes) + " bytes, "
                               + (named == "state" ? "this one has " : "this file has ") + std::to_string (bytes.size()));
    std::array<unsigned char, Reverb::stateBytes> values;
    std::copy (bytes.begin(), bytes.end(), values.begin());
    reverb.restoreState (values);
}

int indexOf (const std::string& name)
{
    const juce::String typed (juce::CharPointer_UTF8 (name.c_str()));
    const int index = SettingReader::parameterNamed (typed);
    if (index < 0)
        throw py::value_error (("unknown parameter '" + typed + "'" + didYouMean (typed, SettingReader::parameterNames())
                                + "; Reverb.parameters lists them").toStdString());
    return index;
}

int set (Reverb& reverb, const std::string& name, const py::object& value)
{
    const juce::String typed (juce::CharPointer_UTF8 (name.c_str()));
    juce::String text;
    if (py::isinstance<py::bool_> (value))
        text = value.cast<bool>() ? "1" : "0";
    else if (py::isinstance<py::float_> (value) || py::isinstance<py::int_> (value))
    {
        const double number = value.cast<double>();
        if (! std::isfinite (number))
            throw py::value_error ((typed + ": " + juce::String (py::repr (value).cast<std::string>()) + " is not a number from 0 to 1").toStdString());
        text = py::repr (py::float_ (number)).cast<std::string>(); // the shortest text that reads back as this number
    }
    else if (py::isinstance<py::str> (value))
        text = juce::String (juce::CharPointer_UTF8 (value.cast<std::string>().c_str()));
    else
        throw py::type_error ((typed + " takes a number from 0 to 1 or a text like \"60 %\", not " + juce::String (typeName (value))).toStdString());

    const auto read = SettingReader::readSetting (typed, text);
    if (const auto* refusal = std::get_if<SettingReader::Refusal> (&read))
        throw py::value_error ((refusal->reason + (refusal->unknownName ? "; Reverb.parameters lists them" : "")).toStdString());
    const auto& setting = std::get<SettingReader::Setting> (read);
    if (setting.beyondRange)
        throw py::value_error ((typed + "=" + text + " is beyond the parameter's range, " + ParameterText::format (setting.index, 0.0f)
                                + " to " + ParameterText::format (setting.index, 1.0f)).toStdString());
    reverb.set (setting.index, setting.normalised);
    return setting.index;
}
} // namespace nadrix::ReverbSetup
