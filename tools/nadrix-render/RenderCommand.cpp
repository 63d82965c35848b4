// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/nadrix-render/RenderCommand.h"

#include "tools/nadrix-render/BatchRender.h"
#include "tools/nadrix-render/DemoSignal.h"
#include "tools/nadrix-render/FileIdentity.h"
#include "tools/nadrix-render/HostSession.h"
#include "tools/nadrix-render/ImpulseCommand.h"
#include "tools/nadrix-render/ManifestFile.h"
#include "tools/nadrix-render/InputSignal.h"
#include "tools/nadrix-render/OutputFile.h"
#include "tools/nadrix-render/OutputTarget.h"
#include "tools/nadrix-render/Renderer.h"
#include "tools/nadrix-render/Snapshot.h"

#include <cmath>
#include <optional>
#include <sstream>

namespace nadrix
{
namespace
{
    constexpr double demoSampleRate = 44100.0;

    juce::String quoted (const juce::File& f) { return "'" + f.getFullPathName() + "'"; }

    juce::String inputName (const RenderOptions& o)
    {
        return o.inputIsStandardInput ? juce::String ("standard input") : "the input " + quoted (o.input);
    }

    Outcome setUp (HostSession& session, const RenderOptions& options)
    {
        if (options.stateFile != juce::File())
            if (auto r = session.restoreState (options.stateFile); r.failed())
                return Outcome::files (r.getErrorMessage());

        if (options.program >= 0)
            if (auto r = session.selectProgram (options.program); r.failed())
                return Outcome::files (r.getErrorMessage());

        if (options.randomSeed.has_value())
            session.buildRandomRoom (*options.randomSeed, options.randomSettings);

        for (const auto& [index, value] : options.settings)
            session.setParameter (index, value);

        return Outcome::ok();
    }

    // The files one run touches must be distinct: nothing read, and nothing
    // just written, is ever replaced. Compared as the files the paths lead to.
    Outcome checkFilesAreDistinct (const RenderOptions& o, const juce::File& output)
    {
        const bool hasInput = o.input != juce::File(), hasState = o.stateFile != juce::File(), savesState = o.saveStateFile != juce::File();

        if (hasInput && namesSameFile (output, o.input))
            return Outcome::files ("the output " + quoted (output) + " is the input file; choose another name");
        if (hasState && namesSameFile (output, o.stateFile))
            return Outcome::files ("the output " + quoted (output) + " is the state file read by --state; choose another name");
        if (savesState && namesSameFile (o.saveStateFile, output))
            return Outcome::files ("--save-state " + quoted (o.saveStateFile) + " is the output file; choose another name");
        if (savesState && hasInput && namesSameFile (o.saveStateFile, o.input))
            return Outcome::files ("--save-state " + quoted (o.saveStateFile) + " is the input file; choose another name");
        if (savesState && hasState && namesSameFile (o.saveStateFile, o.stateFile))
            return Outcome::files ("--save-state " + quoted (o.saveStateFile) + " is the state file read by --state; choose another name");

        for (const auto& written : { output, o.saveStateFile })
        {
            if (written == juce::File())
                continue;
            const auto target = OutputTarget::of (written);
            if (target.kind == OutputTarget::Kind::directory)
                return Outcome::files (quoted (written) + " is a directory");
            if (target.kind == OutputTarget::Kind::refused)
                return Outcome::files ("cannot write " + quoted (written) + ": it is " + target.what + ", not a file; give a file's name, a FIFO, or -o - for standard output");
            if (target.kind == OutputTarget::Kind::stream && written == o.saveStateFile)
                return Outcome::files ("--save-state " + quoted (written) + " is not a file; a state is saved into a file");
            if (target.kind == OutputTarget::Kind::file && isReadOnly (writeThroughLinks (written)))
                return Outcome::files ("cannot write " + quoted (written) + ": it is read-only");
        }
        return Outcome::ok();
    }

    Outcome openInput (const RenderOptions& o, bool strict, std::unique_ptr<InputSignal>& input, std::ostream& warnings)
    {
        if (o.demo || (o.input == juce::File() && ! o.inputIsStandardInput))
        {
            input = InputSignal::fromBuffer (makeDemoSignal (demoSampleRate), demoSampleRate);
            return Outcome::ok();
        }

        juce::String error;
        input = o.inputIsStandardInput ? InputSignal::fromStandardInput (error) : InputSignal::fromFile (o.input, error);
        if (input == nullptr)
            return Outcome::files (error);

        const auto name = inputName (o);
        if (input->getDamage().isNotEmpty())
        {
            if (strict)
                return Outcome::files ("refusing the damaged " + name.fromFirstOccurrenceOf ("the ", false, false) + ": " + input->getDamage() + " (--strict)");
            warnings << "nadrix-render: warning: " << name << " is damaged: " << input->getDamage()
                     << "; rendering the " << input->getLength() << " frames it holds" << std::endl;
        }
        // Nothing to reverberate: a tail of silence would be a file of nothing.
        if (input->getLength() == 0)
            return Outcome::files (name + " holds no audio (0 frames): nothing to render");
        return Outcome::ok();
    }

    // The processor's output through the whole input, then its tail (--tail,
    // or the whole of it), each block handed to `sink`.
    struct Rendered
    {
        Renderer::WholeTail tail;
        juce::Result result = juce::Result::ok();
    };

    Rendered renderThrough (const RenderOptions& o, Renderer& renderer, double rate, const Renderer::Sink& sink, const juce::String& failure)
    {
        Rendered r;
        if (o.tailSeconds.has_value())
        {
            r.tail.written = (juce::int64) std::ceil (*o.tailSeconds * rate);
            r.result = renderer.render (r.tail.written, sink, failure);
        }
        else
        {
            r.result = renderer.renderWholeTail (r.tail, sink, failure);
        }
        return r;
    }

    // --normalize: the same render once more, heard only for its peak.
    std::optional<float> peakOfRender (const RenderOptions& o, juce::String& error)
    {
        NadrixAudioProcessor processor;
        HostSession session (processor);
        if (auto r = setUp (session, o); r.failed())
        {
            error = r.message;
            return std::nullopt;
        }
        std::unique_ptr<InputSignal> input;
        std::ostringstream ignored;
        if (auto r = openInput (o, o.strict, input, ignored); r.failed())
        {
            error = r.message;
            return std::nullopt;
        }
        Renderer renderer (processor, *input, o.blockSize, o.threadCount(), o.showProgress);
        if (renderer.prepared().failed())
        {
            error = renderer.prepared().getErrorMessage();
            return std::nullopt;
        }
        OutputLevel level;
        const auto measure = [&level] (const juce::AudioBuffer<float>& block) {
            for (int ch = 0; ch < 2; ++ch)
                level.measure (block.getReadPointer (ch), (size_t) block.getNumSamples());
            return true;
        };
        if (auto r = renderThrough (o, renderer, input->getSampleRate(), measure, {}); r.result.failed())
        {
            error = r.result.getErrorMessage();
            return std::nullopt;
        }
        return level.peak();
    }

    float gainFromDb (double db) { return (float) std::pow (10.0, db / 20.0); }

    Outcome render (const RenderOptions& o, HostSession& session, NadrixAudioProcessor& processor, std::ostream& out, std::ostream& warnings)
    {
        const auto output = o.output != juce::File() || o.outputIsStandardOutput ? o.output : juce::File::getCurrentWorkingDirectory().getChildFile ("nadrix-demo.wav");
        if (! o.outputIsStandardOutput)
            if (auto r = checkFilesAreDistinct (o, output); r.failed())
                return r;

        // The level asked for: a gain, or the one that brings the peak where asked.
        float gain = o.gainDb.has_value() ? gainFromDb (*o.gainDb) : 1.0f;
        juce::String levelSaid = o.gainDb.has_value() ? ", gain " + juce::String (*o.gainDb, 1) + " dB" : juce::String();
        if (o.normalizeDbfs.has_value())
        {
            juce::String error;
            const auto peak = peakOfRender (o, error);
            if (! peak.has_value())
                return Outcome::files (error);
            gain = *peak > 0.0f ? (float) (std::pow (10.0, *o.normalizeDbfs / 20.0) / (double) *peak) : 1.0f;
            levelSaid = ", normalized to a peak of " + juce::String (*o.normalizeDbfs, 1) + " dBFS (gain " + juce::String (20.0 * std::log10 ((double) gain), 2) + " dB)";
        }

        std::unique_ptr<InputSignal> input;
        if (auto r = openInput (o, o.strict, input, warnings); r.failed())
            return r;

        const bool damagedAtOpen = input->getDamage().isNotEmpty();
        const double rate = input->getSampleRate();
        if (! o.outputType.holdsRate (rate))
            return Outcome::files (juce::String (o.outputType.title) + " files hold " + o.outputType.ratesHeld() + "; the input is at " + juce::String (rate, 0) + " Hz");
        Renderer renderer (processor, *input, o.blockSize, o.threadCount(), o.showProgress);
        if (auto r = renderer.prepared(); r.failed())
            return Outcome::files (r.getErrorMessage());

        auto file = o.outputIsStandardOutput ? std::make_unique<OutputFile> (rate, o.bitsPerSample, o.outputType)
                                             : std::make_unique<OutputFile> (output, rate, o.bitsPerSample, o.outputType);
        if (! file->isOpen())
            return Outcome::files (file->getError());
        file->setGain (gain);

        const auto write = [&file] (const juce::AudioBuffer<float>& block) { return file->write (block, block.getNumSamples()); };
        const auto rendered = renderThrough (o, renderer, rate, write, "writing the output failed");
        if (rendered.result.failed())
            return Outcome::files (file->getError().isNotEmpty() ? file->getError() : rendered.result.getErrorMessage());

        // A stream's damage, and its length, are known only at its end.
        if (input->getFramesRead() == 0)
            return Outcome::files (inputName (o) + " holds no audio (0 frames): nothing to render");
        if (! damagedAtOpen && input->getDamage().isNotEmpty())
        {
            if (o.strict)
                return Outcome::files ("refusing the damaged " + inputName (o) + ": " + input->getDamage() + " (--strict)");
            warnings << "nadrix-render: warning: " << inputName (o) << " is damaged: " << input->getDamage() << "; rendered what arrived" << std::endl;
        }

        if (auto r = file->commit(); r.failed())
            return Outcome::files (r.getErrorMessage());

        const auto& tail = rendered.tail;
        if (tail.cut)
            warnings << "nadrix-render: notice: the reverb still sounded after " << juce::String (tail.longestSeconds, 0)
                     << " s of tail; the output stops there, " << juce::String (-tail.endBelowPeakDb, 1)
                     << " dB below its peak (--tail sets another length)" << std::endl;
        const bool keepsBeyondFullScale = o.outputType.holdsFloat && o.bitsPerSample == 32;
        if (const auto notice = file->getLevel().notice (keepsBeyondFullScale, o.outputType.describe (o.bitsPerSample) + " output"); notice.isNotEmpty())
            warnings << "nadrix-render: notice: " << notice << std::endl;

        if (o.saveStateFile != juce::File())
            if (auto r = session.saveState (o.saveStateFile); r.failed())
                return Outcome::files (r.getErrorMessage());

        if (const auto replaced = processor.getReplacedInputSamples(); replaced > 0)
            warnings << "nadrix-render: warning: " << replaced << " input samples were not finite numbers or beyond +36 dBFS and ran as silence" << std::endl;

        const double seconds = (double) (input->getFramesRead() + tail.written) / rate;
        const auto source = o.inputIsStandardInput ? juce::String ("standard input")
                          : o.input == juce::File() ? juce::String ("the built-in demo signal") : o.input.getFullPathName();
        const auto tailSaid = o.tailSeconds.has_value() ? juce::String()
                            : tail.cut ? " (cut at the " + juce::String (tail.longestSeconds, 0) + " s limit, " + juce::String (-tail.endBelowPeakDb, 1) + " dB below its peak)"
                                       : juce::String (" (until 100 dB below its peak)");
        out << "nadrix-render: wrote " << (o.outputIsStandardOutput ? juce::String ("to standard output") : output.getFullPathName())
            << "\n  " << juce::String (seconds, 2) << " s at " << juce::String (rate, 0) << " Hz, stereo, " << o.outputType.describe (o.bitsPerSample)
            << "\n  from " << source
            << (input->getNumChannels() == 1 ? " (mono)" : "")
            << "\n  with " << session.describeSetup() << levelSaid << ", reverb tail " << juce::String ((double) tail.written / rate, 2) << " s"
            << tailSaid << std::endl;
        if (o.saveStateFile != juce::File())
            out << "  state saved to " << o.saveStateFile.getFullPathName() << std::endl;
        return Outcome::ok();
    }
}

Outcome runRenderCommand (const RenderOptions& options, std::ostream& out, std::ostream& warnings)
{
    if (options.isBatch())
        return runBatch (options, out, warnings);

    if (options.hasManifest())
    {
        const auto jobs = readManifest (options);
        if (const auto* refusal = std::get_if<Outcome> (&jobs))
            return *refusal;
        const auto where = options.manifestIsStandardInput ? juce::String ("the outputs of the manifest on standard input")
                                                           : "the outputs of " + options.manifest.getFileName();
        return runJobs (std::get<std::vector<RenderOptions>> (jobs), options.threadCount(), where, out, warnings);
    }

    NadrixAudioProcessor processor;
    HostSession session (processor);

    // Listed after the settings, so the list shows what a render would use.
    if (auto r = setUp (session, options); r.failed())
        return r;

    if (options.listPrograms || options.listParameters)
    {
        if (options.listPrograms)
            out << session.listPrograms();
        if (options.listParameters)
            out << session.listParameters();
        return Outcome::ok();
    }

    if (options.isImpulse())
        return runImpulseCommand (options, session, processor, out, warnings);

    if (options.snapshotFile != juce::File())
    {
        if (auto r = writeEditorSnapshot (processor, options.snapshotFile); r.failed())
            return Outcome::files (r.getErrorMessage());
        out << "nadrix-render: wrote " << options.snapshotFile.getFullPathName() << "\n  the window with " << session.describeSetup() << std::endl;
        return Outcome::ok();
    }

    return render (options, session, processor, out, warnings);
}
} // namespace nadrix
