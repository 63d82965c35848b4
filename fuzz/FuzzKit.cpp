// SPDX-License-Identifier: GPL-3.0-or-later
#include "fuzz/FuzzKit.h"

#include <unistd.h>

namespace nadrix::fuzz
{
namespace
{
    struct Scratch
    {
        juce::File folder = juce::File::getSpecialLocation (juce::File::tempDirectory)
                                .getChildFile ("nadrix-fuzz-" + juce::String ((int) ::getpid()));
        Scratch() { folder.deleteRecursively(); folder.createDirectory(); }
        ~Scratch() { folder.deleteRecursively(); }
    };
}

const juce::File& scratchFolder()
{
    static const Scratch scratch;
    return scratch.folder;
}

void startJuce()
{
    const auto settings = scratchFolder().getChildFile ("settings");
    settings.createDirectory();
    setenv ("NADRIX_SETTINGS_DIR", settings.getFullPathName().toRawUTF8(), 1);

    // JUCE's list of objects deleted at shutdown is made on first use: made
    // here, before the library, it outlives the library's shutdown at exit.
    struct FirstUse : juce::DeletedAtShutdown {};
    delete new FirstUse();
    static const juce::ScopedJuceInitialiser_GUI juceLibrary;
}
} // namespace nadrix::fuzz
