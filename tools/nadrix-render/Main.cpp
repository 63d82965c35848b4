// nadrix-render: reverberates an audio file through the Nadrix plug-in
// processor, exactly as a host would, and writes the result as a WAV file.
#include "DemoSignal.h"
#include "HostSession.h"
#include "InputSignal.h"
#include "OutputFile.h"
#include "RenderOptions.h"
#include "Renderer.h"
#include "Snapshot.h"

#include <cmath>
#include <iostream>

namespace
{
    constexpr double demoSampleRate = 44100.0;

    int fail (const juce::String& message, int code = 1)
    {
        std::cerr << "nadrix-render: " << message << std::endl;
        return code;
    }

    juce::Result setUp (HostSession& session, const RenderOptions& options)
    {
        if (options.stateFile != juce::File())
            if (auto r = session.restoreState (options.stateFile); r.failed())
                return r;

        if (options.program.isNotEmpty())
            if (auto r = session.selectProgram (options.program); r.failed())
                return r;

        for (const auto& [index, value] : options.settings)
            session.setParameter (index, value);

        return juce::Result::ok();
    }

    juce::String describeFormat (int bits)
    {
        return bits == 32 ? "32-bit float" : juce::String (bits) + "-bit";
    }
}

int main (int argc, char* argv[])
{
    juce::StringArray args;
    for (int i = 1; i < argc; ++i)
        args.add (juce::CharPointer_UTF8 (argv[i]));

    const auto parsed = RenderOptions::parse (args);
    if (const auto* error = std::get_if<juce::String> (&parsed))
        return fail (*error + " (see --help)", 2);
    auto options = std::get<RenderOptions> (parsed);

    if (options.showHelp)
    {
        std::cout << RenderOptions::usage();
        return 0;
    }

    const juce::ScopedJuceInitialiser_GUI juceLibrary;
    NadrixAudioProcessor processor;
    HostSession session (processor);

    if (options.listPrograms || options.listParameters)
    {
        if (options.listPrograms)
            std::cout << session.listPrograms();
        if (options.listParameters)
            std::cout << session.listParameters();
        return 0;
    }

    if (auto r = setUp (session, options); r.failed())
        return fail (r.getErrorMessage());

    if (options.snapshotFile != juce::File())
    {
        if (auto r = writeEditorSnapshot (processor, options.snapshotFile); r.failed())
            return fail (r.getErrorMessage());
        std::cout << "nadrix-render: wrote " << options.snapshotFile.getFullPathName() << "\n  the window with "
                  << session.describeSetup() << std::endl;
        return 0;
    }

    const bool demo = options.input == juce::File();
    std::unique_ptr<InputSignal> input;
    juce::String error;
    if (demo)
    {
        input = InputSignal::fromBuffer (makeDemoSignal (demoSampleRate), demoSampleRate);
        if (options.output == juce::File())
            options.output = juce::File::getCurrentWorkingDirectory().getChildFile ("nadrix-demo.wav");
    }
    else if ((input = InputSignal::fromFile (options.input, error)) == nullptr)
        return fail (error);

    if (! demo && (options.output == options.input || options.output.getLinkedTarget() == options.input.getLinkedTarget()))
        return fail ("the output '" + options.output.getFullPathName() + "' is the input file; choose another name");
    if (options.output.isDirectory())
        return fail ("the output '" + options.output.getFullPathName() + "' is a directory");

    const double rate = input->getSampleRate();
    Renderer renderer (processor, *input, options.blockSize);
    if (auto r = renderer.prepared(); r.failed())
        return fail (r.getErrorMessage());

    // The tail in seconds at the input's rate, known once the processor is prepared for it.
    const double tailSeconds = options.tailSeconds.value_or (processor.getTailLengthSeconds());
    const auto tailFrames = (juce::int64) std::ceil (tailSeconds * rate);

    OutputFile output (options.output, rate, options.bitsPerSample);
    if (! output.isOpen())
        return fail ("cannot write '" + options.output.getFullPathName() + "'");

    if (auto r = renderer.render (tailFrames, output.getWriter()); r.failed())
        return fail (r.getErrorMessage());
    if (auto r = output.commit(); r.failed())
        return fail (r.getErrorMessage());

    if (options.saveStateFile != juce::File())
        if (auto r = session.saveState (options.saveStateFile); r.failed())
            return fail (r.getErrorMessage());

    const double seconds = (double) (input->getLength() + tailFrames) / rate;
    std::cout << "nadrix-render: wrote " << options.output.getFullPathName()
              << "\n  " << juce::String (seconds, 2) << " s at " << juce::String (rate, 0) << " Hz, stereo, " << describeFormat (options.bitsPerSample)
              << "\n  from " << (demo ? juce::String ("the built-in demo signal") : options.input.getFullPathName())
              << (input->getNumChannels() == 1 ? " (mono)" : "")
              << "\n  with " << session.describeSetup() << ", reverb tail " << juce::String (tailSeconds, 2) << " s" << std::endl;

    if (options.saveStateFile != juce::File())
        std::cout << "  state saved to " << options.saveStateFile.getFullPathName() << std::endl;
    return 0;
}
