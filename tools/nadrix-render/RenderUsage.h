// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <juce_core/juce_core.h>

namespace nadrix
{
// nadrix-render's usage texts, made from its option table: what --help and
// the bare command print, and the manual's synopsis, options and exit
// status (filled into resources/man/nadrix-render.1.in when the project is
// built, so the manual and --help cannot say different things).
namespace RenderUsage
{
    juce::String help();
    juce::String shortHelp();

    // The manual page: the template with its @SYNOPSIS@, @OPTIONS@ and
    // @EXIT_STATUS@ filled in, in the manual's own markup.
    juce::String manualPage (const juce::String& manualTemplate);
}
} // namespace nadrix
