// SPDX-License-Identifier: GPL-3.0-or-later
#include "python/Analysis.h"

#include "python/AudioArray.h"
#include "tools/analysis/AnalysisReport.h"
#include "tools/analysis/DecayAnalysis.h"

namespace py = pybind11;

namespace nadrix
{
py::dict analyze (const py::object& impulse, double sampleRate, const std::string& channel)
{
    const AudioArray response (impulse, "impulse");
    if (! (sampleRate >= 8000.0 && sampleRate <= 384000.0))
        throw py::value_error ("sample_rate must be a sample rate from 8000 to 384000 Hz");
    if (channel != "both" && channel != "sum" && channel != "left" && channel != "right")
        throw py::value_error ("channel is \"both\" (or \"sum\"), \"left\" or \"right\", not '" + channel + "'");
    if (channel == "right" && response.channels() < 2)
        throw py::value_error ("channel \"right\" needs a stereo impulse response; this one is mono");
    if (response.frames() == 0 || response.frames() > std::numeric_limits<int>::max())
        throw py::value_error ("impulse holds " + std::to_string (response.frames()) + " frames: there is no decay to analyse");

    std::string json;
    {
        py::gil_scoped_release released;
        response.refuseNonFinite();
        const bool both = channel == "both" || channel == "sum";
        const int first = channel == "right" ? 1 : 0;
        const int count = both ? response.channels() : 1;
        juce::AudioBuffer<float> analysed (count, (int) response.frames());
        for (int ch = 0; ch < count; ++ch)
            response.copy (first + ch, 0, response.frames(), analysed.getWritePointer (ch));

        const auto analysis = DecayAnalysis::of (analysed, sampleRate);
        if (analysis.silent)
            throw py::value_error ("the impulse response is silent (no sample above -120 dBFS): there is no decay to analyse");
        const juce::String channels = both ? (count == 2 ? "left and right, their energies summed" : "mono") : juce::String (channel);
        json = AnalysisReport::asJson (analysis, "the impulse response given to nadrix.analyze", channels).toStdString();
    }
    return py::module_::import ("json").attr ("loads") (json);
}
} // namespace nadrix
