// SPDX-License-Identifier: GPL-3.0-or-later
#include "python/ReverbObject.h"

#include "python/AudioArray.h"
#include "python/ReverbSetup.h"
#include "processor/ParameterInfo.h"
#include "processor/ParameterText.h"
#include "tools/nadrix-render/WholeTailRule.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace py = pybind11;

namespace nadrix
{
namespace
{
    constexpr std::int64_t blockFrames = 4096;
    constexpr double longestTailSeconds = 3600.0;

    // The tail asked for: frames, or none for "auto".
    std::optional<std::int64_t> tailFramesOf (const py::object& tail, double rate)
    {
        constexpr const char* rule = "tail is None, seconds from 0 to 3600, or \"auto\" (the whole tail, as nadrix-render gives it)";
        if (tail.is_none())
            return 0;
        if (py::isinstance<py::str> (tail))
        {
            if (tail.cast<std::string>() == "auto")
                return std::nullopt;
            throw py::value_error (std::string (rule) + ", not '" + tail.cast<std::string>() + "'");
        }
        if (py::isinstance<py::bool_> (tail) || ! (py::isinstance<py::float_> (tail) || py::isinstance<py::int_> (tail)))
            throw py::type_error (rule);
        const double seconds = tail.cast<double>();
        if (! (seconds >= 0.0 && seconds <= longestTailSeconds))
            throw py::value_error (rule);
        return (std::int64_t) std::ceil (seconds * rate); // as --tail counts it
    }

    const char* unitOf (ParameterInfo::Unit unit)
    {
        using Unit = ParameterInfo::Unit;
        switch (unit)
        {
            case Unit::mixPercent: case Unit::percent: case Unit::feedbackPercent: case Unit::pan: return "%";
            case Unit::hertz: return "Hz";
            case Unit::milliseconds: case Unit::delayMilliseconds: return "ms";
            case Unit::gain: case Unit::onOff: case Unit::zoom: return "";
        }
        return "";
    }

    void warn (const std::string& text)
    {
        if (PyErr_WarnEx (PyExc_UserWarning, text.c_str(), 2) != 0)
            throw py::error_already_set();
    }

    // Where a call's output goes: straight into the array when its length
    // is known, or gathered until the whole tail has ended.
    struct Output
    {
        float* rows[2] {};               // channel rows of a (2, frames) array, processed in place
        float* interleaved = nullptr;    // or the frames of a (frames, 2) one, written from the block
        std::vector<float> gathered[2];  // or here ("auto")

        void write (std::int64_t at, const float* left, const float* right, std::int64_t n)
        {
            if (interleaved != nullptr)
            {
                for (std::int64_t i = 0; i < n; ++i)
                {
                    interleaved[2 * (at + i)] = left[i];
                    interleaved[2 * (at + i) + 1] = right[i];
                }
            }
            else
            {
                gathered[0].insert (gathered[0].end(), left, left + n);
                gathered[1].insert (gathered[1].end(), right, right + n);
            }
        }
    };
}

// Holds the object for one call; a second thread that comes meanwhile is refused.
class ReverbObject::Use
{
public:
    explicit Use (std::mutex& m) : lock (m, std::try_to_lock)
    {
        if (! lock.owns_lock())
            throw std::runtime_error ("this nadrix.Reverb is in use on another thread; give each thread a Reverb of its own");
    }

private:
    std::unique_lock<std::mutex> lock;
};

ReverbObject::ReverbObject (double sampleRate, const py::object& program, const py::object& state, const py::object& random, const py::object& randomSettings)
    : reverb (ReverbSetup::make (sampleRate, program, state, random, randomSettings))
{
}

void ReverbObject::set (const std::string& name, const py::object& value)
{
    Use use (inUse);
    ReverbSetup::set (*reverb, name, value);
}

ParameterReading ReverbObject::reading (int index) const
{
    const auto& row = ParameterInfo::rowOf (index);
    const float value = reverb->value (index);
    return { index, ParameterInfo::name (index), value, ParameterText::format (index, value).toStdString(), unitOf (row.unit),
             row.shownMinimum, row.shownMaximum, row.automatable };
}

ParameterReading ReverbObject::get (const std::string& name)
{
    Use use (inUse);
    return reading (ReverbSetup::indexOf (name));
}

std::vector<ParameterReading> ReverbObject::parameters()
{
    Use use (inUse);
    std::vector<ParameterReading> all;
    for (int i = 0; i < Reverb::numParameters; ++i)
        all.push_back (reading (i));
    return all;
}

py::bytes ReverbObject::state()
{
    Use use (inUse);
    const auto bytes = reverb->saveState();
    return py::bytes (reinterpret_cast<const char*> (bytes.data()), bytes.size());
}

void ReverbObject::setState (const py::object& state)
{
    Use use (inUse);
    ReverbSetup::restore (*reverb, state);
}

void ReverbObject::reset()
{
    Use use (inUse);
    reverb->reset();
}

double ReverbObject::tailSeconds()
{
    Use use (inUse);
    reverb->prepare(); // the tail is reported at the rate the reverb plays at
    return reverb->tailSeconds();
}

py::array_t<float> ReverbObject::process (const py::object& audio, const py::object& tail)
{
    Use use (inUse);
    const AudioArray input (audio, "audio");
    const double rate = reverb->sampleRate();
    const auto tailFrames = tailFramesOf (tail, rate);
    const std::int64_t frames = input.frames();

    Output output;
    py::array_t<float> result;
    if (tailFrames.has_value())
    {
        result = AudioArray::stereo (frames + *tailFrames, input.framesFirst());
        float* data = result.mutable_data();
        if (input.framesFirst())
            output.interleaved = data;
        else
            output.rows[0] = data, output.rows[1] = data + frames + *tailFrames;
    }

    std::int64_t replaced = 0, written = 0;
    WholeTailRule::Settings wholeTail;
    std::optional<WholeTailRule> rule;
    if (! tailFrames.has_value())
        rule.emplace (wholeTail, rate);
    {
        py::gil_scoped_release released;
        input.refuseNonFinite();
        reverb->prepare();

        float left[blockFrames], right[blockFrames];
        const std::int64_t total = tailFrames.has_value() ? frames + *tailFrames : -1;
        while (total < 0 ? ! rule->ended() : written < total)
        {
            const auto n = total < 0 ? blockFrames : std::min (blockFrames, total - written);
            // Rows of the result are processed where they lie; other layouts go through the block.
            float* const l = output.rows[0] != nullptr ? output.rows[0] + written : left;
            float* const r = output.rows[1] != nullptr ? output.rows[1] + written : right;
            const auto fromInput = std::clamp (frames - written, (std::int64_t) 0, n);
            input.copy (0, written, fromInput, l);
            input.copy (input.channels() - 1, written, fromInput, r);
            std::fill (l + fromInput, l + n, 0.0f);
            std::fill (r + fromInput, r + n, 0.0f);

            replaced += reverb->process (l, r, input.channels() == 2, n);

            // The output ends at the frame the rule says, whatever the block.
            auto kept = n;
            if (rule.has_value())
            {
                kept = 0;
                while (kept < n && ! rule->ended())
                {
                    rule->add (std::max (std::abs (left[kept]), std::abs (right[kept])), written + kept >= frames);
                    ++kept;
                }
            }
            if (output.rows[0] == nullptr)
                output.write (written, left, right, kept);
            written += kept;
        }
    }

    if (rule.has_value())
    {
        result = AudioArray::stereo (written, input.framesFirst());
        float* data = result.mutable_data();
        for (std::int64_t i = 0; i < written; ++i)
            for (int ch = 0; ch < 2; ++ch)
                data[input.framesFirst() ? 2 * i + ch : ch * written + i] = output.gathered[ch][(size_t) i];
        if (rule->cut())
            warn ("the reverb still sounded after " + std::to_string ((int) wholeTail.longestSeconds) + " s of tail; the output stops there, "
                  + juce::String (-rule->endBelowPeakDb(), 1).toStdString() + " dB below its peak (tail=SECONDS sets another length)");
    }
    if (replaced > 0)
        warn (std::to_string (replaced) + " input samples were beyond +36 dBFS and ran as silence");
    return result;
}
} // namespace nadrix
