// SPDX-License-Identifier: GPL-3.0-or-later
// nadrix-render: reverberates an audio file through the Nadrix plug-in
// processor, exactly as a host would, and writes the result as an audio file.
#include "tools/nadrix-render/InterruptCleanup.h"
#include "tools/nadrix-render/RenderCommand.h"
#include "tools/nadrix-render/RenderUsage.h"
#include "engine/RingMemory.h"

#include <juce_events/juce_events.h>

#include <csignal>
#include <iostream>
#include <limits>

int main (int argc, char* argv[])
{
    using namespace nadrix;

    // Names and values are UTF-8 text: JUCE cannot hold other bytes (a name
    // in an old 8-bit encoding), and would read them as another file or hang.
    juce::StringArray args;
    for (int i = 1; i < argc; ++i)
    {
        if (! juce::CharPointer_UTF8::isValidString (argv[i], std::numeric_limits<int>::max()))
        {
            std::cerr << "nadrix-render: argument " << i << " is not UTF-8 text; give names and values in UTF-8 (see --help)" << std::endl;
            return Outcome::usageError;
        }
        args.add (juce::CharPointer_UTF8 (argv[i]));
    }

    if (args.isEmpty())
    {
        std::cerr << RenderUsage::shortHelp();
        return Outcome::usageError;
    }

    const auto parsed = RenderOptions::parse (args);
    if (const auto* error = std::get_if<juce::String> (&parsed))
    {
        std::cerr << "nadrix-render: " << *error << " (see --help)" << std::endl;
        return Outcome::usageError;
    }

    const auto& options = std::get<RenderOptions> (parsed);
    if (options.showHelp || options.showVersion)
    {
        std::cout << (options.showHelp ? RenderUsage::help() : RenderOptions::version());
        return Outcome::success;
    }

    for (const auto& notice : options.notices)
        std::cerr << "nadrix-render: " << notice << std::endl;

    InterruptCleanup::install();
#if defined(SIGPIPE)
    // A reader that stops early (| head) is told as a failed write, with a
    // message and status 1, as sox and cat end.
    std::signal (SIGPIPE, SIG_IGN);
#endif
    RingMemory_Map_Pages_On_First_Use(); // nothing here plays in real time

    const juce::ScopedJuceInitialiser_GUI juceLibrary;
    // With the audio on standard output, what is said goes to standard error.
    const auto outcome = runRenderCommand (options, options.outputIsStandardOutput ? std::cerr : std::cout, std::cerr);
    if (outcome.failed())
        std::cerr << "nadrix-render: " << outcome.message << std::endl;
    return outcome.code;
}
