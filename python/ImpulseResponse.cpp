// SPDX-License-Identifier: GPL-3.0-or-later
#include "python/ImpulseResponse.h"

#include "python/ReverbSetup.h"
#include "tools/nadrix-render/ImpulseLength.h"

#include <cstring>

namespace py = pybind11;

namespace nadrix
{
py::array_t<float> impulseResponse (double sampleRate, const py::object& program, const py::object& state, const py::object& random,
                                    const py::object& randomSettings, const py::object& settings, bool wetOnly)
{
    auto reverb = ReverbSetup::make (sampleRate, program, state, random, randomSettings);
    if (! settings.is_none())
    {
        if (! py::isinstance<py::dict> (settings))
            throw py::type_error ("settings is a dict of parameter names and values, like {\"Mix\": \"60 %\"}");
        for (const auto& [name, value] : settings.cast<py::dict>())
        {
            if (! py::isinstance<py::str> (name))
                throw py::type_error ("settings names parameters with strings");
            ReverbSetup::set (*reverb, name.cast<std::string>(), py::reinterpret_borrow<py::object> (value));
        }
    }
    if (wetOnly)
        reverb->set (0, 1.0f); // "Mix": the reverb alone

    juce::AudioBuffer<float> response;
    {
        py::gil_scoped_release released;
        reverb->prepare();
        constexpr int blockFrames = 4096;
        juce::AudioBuffer<float> block (2, blockFrames);
        bool impulseGiven = false;
        const auto run = [&] (juce::int64 frames, const ImpulseLength::Keep& keep) {
            for (juce::int64 done = 0; done < frames;)
            {
                const int n = (int) std::min ((juce::int64) blockFrames, frames - done);
                block.clear();
                if (! impulseGiven)
                {
                    block.setSample (0, 0, 1.0f);
                    block.setSample (1, 0, 1.0f);
                    impulseGiven = true;
                }
                reverb->process (block.getWritePointer (0), block.getWritePointer (1), true, n);
                keep (juce::AudioBuffer<float> (block.getArrayOfWritePointers(), 2, 0, n));
                done += n;
            }
            return juce::Result::ok();
        };
        ImpulseLength::render (sampleRate, reverb->tailSeconds(), run, response);
    }

    py::array_t<float> result ({ (py::ssize_t) 2, (py::ssize_t) response.getNumSamples() });
    for (int ch = 0; ch < 2; ++ch)
        std::memcpy (result.mutable_data (ch), response.getReadPointer (ch), sizeof (float) * (size_t) response.getNumSamples());
    return result;
}
} // namespace nadrix
