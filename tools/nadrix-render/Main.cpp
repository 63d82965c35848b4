// SPDX-License-Identifier: GPL-3.0-or-later
// nadrix-render: reverberates an audio file through the Nadrix plug-in
// processor, exactly as a host would, and writes the result as a WAV file.
#include "InterruptCleanup.h"
#include "RenderCommand.h"
#include "RingMemory.h"

#include <juce_events/juce_events.h>

#include <iostream>

int main (int argc, char* argv[])
{
    juce::StringArray args;
    for (int i = 1; i < argc; ++i)
        args.add (juce::CharPointer_UTF8 (argv[i]));

    const auto parsed = RenderOptions::parse (args);
    if (const auto* error = std::get_if<juce::String> (&parsed))
    {
        std::cerr << "nadrix-render: " << *error << " (see --help)" << std::endl;
        return Outcome::usageError;
    }

    const auto& options = std::get<RenderOptions> (parsed);
    if (options.showHelp || options.showVersion)
    {
        std::cout << (options.showHelp ? RenderOptions::usage() : RenderOptions::version());
        return Outcome::success;
    }

    InterruptCleanup::install();
    RingMemory_Map_Pages_On_First_Use(); // nothing here plays in real time

    const juce::ScopedJuceInitialiser_GUI juceLibrary;
    const auto outcome = runRenderCommand (options, std::cout, std::cerr);
    if (outcome.failed())
        std::cerr << "nadrix-render: " << outcome.message << std::endl;
    return outcome.code;
}
