// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

namespace nadrix
{
// The Standalone window's title: the app, the program last chosen, and a
// mark while the values differ from that program's ("Nadrix - Nice Hall
// (edited)"), so a user sees what is playing and that it was changed.
namespace WindowTitle
{
    juce::String of (juce::AudioProcessor& processor);
}
} // namespace nadrix
