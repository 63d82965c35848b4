// SPDX-License-Identifier: GPL-3.0-or-later
// nadrix-render-manual TEMPLATE OUT: the manual page of nadrix-render, its
// synopsis, options and exit status made from the option table, so that it
// says what --help says. Run when the project is built.
#include "tools/nadrix-render/RenderUsage.h"

#include <iostream>

int main (int argc, char* argv[])
{
    if (argc != 3)
    {
        std::cerr << "usage: nadrix-render-manual TEMPLATE OUT" << std::endl;
        return 2;
    }
    const juce::File manualTemplate (juce::File::getCurrentWorkingDirectory().getChildFile (argv[1]));
    const juce::File out (juce::File::getCurrentWorkingDirectory().getChildFile (argv[2]));
    if (! out.replaceWithText (nadrix::RenderUsage::manualPage (manualTemplate.loadFileAsString()), false, false, "\n"))
    {
        std::cerr << "nadrix-render-manual: cannot write " << out.getFullPathName() << std::endl;
        return 1;
    }
    return 0;
}
