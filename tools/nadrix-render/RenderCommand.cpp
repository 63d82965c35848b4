// SPDX-License-Identifier: GPL-3.0-or-later
#include "RenderCommand.h"

#include "BatchRender.h"
#include "DemoSignal.h"
#include "FileIdentity.h"
#include "HostSession.h"
#include "ImpulseCommand.h"
#include "InputSignal.h"
#include "OutputFile.h"
#include "Renderer.h"
#include "Snapshot.h"

#include <cmath>

namespace
{
    constexpr double demoSampleRate = 44100.0;

    juce::String quoted (const juce::File& f) { return "'" + f.getFullPathName() + "'"; }

    Outcome setUp (HostSession& session, const RenderOptions& options)
    {
        if (options.stateFile != juce::File())
            if (auto r = session.restoreState (options.stateFile); r.failed())
                return Outcome::files (r.getErrorMessage());

        if (options.program >= 0)
            if (auto r = session.selectProgram (options.program); r.failed())
                return Outcome::files (r.getErrorMessage());

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
            const auto target = writeThroughLinks (written);
            if (target.isDirectory())
                return Outcome::files (quoted (written) + " is a directory");
            if (isReadOnly (target))
                return Outcome::files ("cannot write " + quoted (written) + ": it is read-only");
        }
        return Outcome::ok();
    }

    Outcome openInput (const RenderOptions& o, bool strict, std::unique_ptr<InputSignal>& input, std::ostream& warnings)
    {
        if (o.input == juce::File())
        {
            input = InputSignal::fromBuffer (makeDemoSignal (demoSampleRate), demoSampleRate);
            return Outcome::ok();
        }

        juce::String error;
        if ((input = InputSignal::fromFile (o.input, error)) == nullptr)
            return Outcome::files (error);

        if (input->getDamage().isNotEmpty())
        {
            if (strict)
                return Outcome::files ("refusing the damaged input " + quoted (o.input) + ": " + input->getDamage() + " (--strict)");
            warnings << "nadrix-render: warning: the input " << quoted (o.input) << " is damaged: " << input->getDamage()
                     << "; rendering the " << input->getLength() << " frames it holds" << std::endl;
        }
        return Outcome::ok();
    }

    juce::String describeFormat (int bits) { return bits == 32 ? "32-bit float" : juce::String (bits) + "-bit"; }

    Outcome render (const RenderOptions& o, HostSession& session, NadrixAudioProcessor& processor, std::ostream& out, std::ostream& warnings)
    {
        const auto output = o.output != juce::File() ? o.output : juce::File::getCurrentWorkingDirectory().getChildFile ("nadrix-demo.wav");
        if (auto r = checkFilesAreDistinct (o, output); r.failed())
            return r;

        std::unique_ptr<InputSignal> input;
        if (auto r = openInput (o, o.strict, input, warnings); r.failed())
            return r;

        const double rate = input->getSampleRate();
        Renderer renderer (processor, *input, o.blockSize, o.threadCount(), o.showProgress);
        if (auto r = renderer.prepared(); r.failed())
            return Outcome::files (r.getErrorMessage());

        // The tail in seconds at the input's rate, known once the processor is prepared for it.
        const double tailSeconds = o.tailSeconds.value_or (processor.getTailLengthSeconds());
        const auto tailFrames = (juce::int64) std::ceil (tailSeconds * rate);

        OutputFile file (output, rate, o.bitsPerSample);
        if (! file.isOpen())
            return Outcome::files ("cannot write " + quoted (output));
        if (auto r = renderer.render (tailFrames, file.getWriter()); r.failed())
            return Outcome::files (r.getErrorMessage());
        if (auto r = file.commit(); r.failed())
            return Outcome::files (r.getErrorMessage());

        if (o.saveStateFile != juce::File())
            if (auto r = session.saveState (o.saveStateFile); r.failed())
                return Outcome::files (r.getErrorMessage());

        if (const auto replaced = processor.getReplacedInputSamples(); replaced > 0)
            warnings << "nadrix-render: warning: " << replaced << " input samples were not finite numbers or beyond +36 dBFS and ran as silence" << std::endl;

        const double seconds = (double) (input->getLength() + tailFrames) / rate;
        out << "nadrix-render: wrote " << output.getFullPathName()
            << "\n  " << juce::String (seconds, 2) << " s at " << juce::String (rate, 0) << " Hz, stereo, " << describeFormat (o.bitsPerSample)
            << "\n  from " << (o.input == juce::File() ? juce::String ("the built-in demo signal") : o.input.getFullPathName())
            << (input->getNumChannels() == 1 ? " (mono)" : "")
            << "\n  with " << session.describeSetup() << ", reverb tail " << juce::String (tailSeconds, 2) << " s" << std::endl;
        if (o.saveStateFile != juce::File())
            out << "  state saved to " << o.saveStateFile.getFullPathName() << std::endl;
        return Outcome::ok();
    }
}

Outcome runRenderCommand (const RenderOptions& options, std::ostream& out, std::ostream& warnings)
{
    if (options.isBatch())
        return runBatch (options, out, warnings);

    NadrixAudioProcessor processor;
    HostSession session (processor);

    if (options.listPrograms || options.listParameters)
    {
        if (options.listPrograms)
            out << session.listPrograms();
        if (options.listParameters)
            out << session.listParameters();
        return Outcome::ok();
    }

    if (auto r = setUp (session, options); r.failed())
        return r;

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
