// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

namespace nadrix
{
// The factory programs as a menu of the Standalone app: each by name, the
// current one ticked; choosing one applies it as a host would.
namespace ProgramsMenu
{
    constexpr int firstItemId = 100;

    juce::PopupMenu build (juce::AudioProcessor& processor);
    // Applies the program a menu result names; false for any other result.
    bool apply (juce::AudioProcessor& processor, int menuResult);
}
} // namespace nadrix
