// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/nadrix-render/ImpulseCommand.h"

#include "tools/analysis/AnalysisReport.h"
#include "tools/analysis/DecayAnalysis.h"
#include "tools/analysis/DecayPlot.h"
#include "tools/nadrix-render/ImpulseLength.h"
#include "tools/nadrix-render/OutputFile.h"
#include "tools/nadrix-render/ProgressBar.h"
#include "tools/nadrix-render/Renderer.h"

#include <algorithm>
#include <cmath>

namespace nadrix
{
namespace
{
    juce::Result renderResponse (const RenderOptions& o, NadrixAudioProcessor& processor, juce::AudioBuffer<float>& response)
    {
        juce::AudioBuffer<float> impulse (2, 1);
        impulse.setSample (0, 0, 1.0f);
        impulse.setSample (1, 0, 1.0f);
        auto input = InputSignal::fromBuffer (impulse, o.impulseRate);
        Renderer renderer (processor, *input, o.blockSize, o.threadCount(), o.showProgress);
        if (renderer.prepared().failed())
            return renderer.prepared();

        const auto run = [&renderer] (juce::int64 frames, const ImpulseLength::Keep& keep) { return renderer.run (frames, keep, {}); };
        return ImpulseLength::render (o.impulseRate, processor.getTailLengthSeconds(), run, response);
    }

    juce::Result writeResponse (const juce::AudioBuffer<float>& response, const RenderOptions& o)
    {
        if (! o.outputType.holdsRate (o.impulseRate))
            return juce::Result::fail (juce::String (o.outputType.title) + " files hold " + o.outputType.ratesHeld() + "; give --rate one of them");
        OutputFile output (o.impulseFile, o.impulseRate, o.bitsPerSample, o.outputType);
        if (! output.isOpen())
            return juce::Result::fail (output.getError());
        if (! output.write (response, response.getNumSamples()))
            return juce::Result::fail ("writing the impulse response failed (disk full?)");
        return output.commit();
    }
}

Outcome runImpulseCommand (const RenderOptions& o, HostSession& session, NadrixAudioProcessor& processor, std::ostream& out, std::ostream& warnings)
{
    if (o.wetOnly)
        session.setParameter (0, 1.0f); // "Mix": the reverb alone

    juce::AudioBuffer<float> response;
    if (auto r = renderResponse (o, processor, response); r.failed())
        return Outcome::files (r.getErrorMessage());

    const auto settings = session.describeSetup() + (o.wetOnly ? ", wet only" : "");
    auto& said = o.json ? warnings : out; // with --json, stdout holds the JSON alone

    if (o.impulseFile != juce::File())
    {
        if (auto r = writeResponse (response, o); r.failed())
            return Outcome::files (r.getErrorMessage());
        said << "nadrix-render: wrote " << o.impulseFile.getFullPathName() << "\n  the impulse response of " << settings << ", "
             << juce::String (response.getNumSamples() / o.impulseRate, 2) << " s at " << juce::String (o.impulseRate, 0) << " Hz, stereo, " << o.outputType.describe (o.bitsPerSample)
             << std::endl;
    }

    if (! o.analyze && o.plotFile == juce::File())
        return Outcome::ok();

    ProgressBar progress (100);
    // The channels asked for: one, or both with their energies summed.
    juce::AudioBuffer<float> analysed;
    if (o.analysisChannel == RenderOptions::Channel::both)
        analysed.makeCopyOf (response);
    else
        analysed.setDataToReferTo (response.getArrayOfWritePointers() + (o.analysisChannel == RenderOptions::Channel::left ? 0 : 1), 1, response.getNumSamples());
    const juce::String channels = o.analysisChannel == RenderOptions::Channel::left  ? "left"
                                : o.analysisChannel == RenderOptions::Channel::right ? "right"
                                                                                     : "left and right, their energies summed";

    const auto analysis = DecayAnalysis::of (analysed, o.impulseRate, [&] (double share) { if (o.showProgress) progress.update ((juce::int64) (share * 100.0)); });
    if (analysis.silent)
        return Outcome::files ("the impulse response of " + settings + " is silent (no running line reaches the output): there is no decay to analyse");

    if (o.analyze)
        out << (o.json ? AnalysisReport::asJson (analysis, settings, channels) : AnalysisReport::asText (analysis, settings, channels)) << std::flush;

    if (o.plotFile != juce::File())
    {
        if (auto r = DecayPlot::write (DecayPlot::draw (analysis, response, settings), o.plotFile); r.failed())
            return Outcome::files (r.getErrorMessage());
        said << "nadrix-render: wrote " << o.plotFile.getFullPathName() << "\n  the decay of " << settings << std::endl;
    }
    return Outcome::ok();
}
} // namespace nadrix
