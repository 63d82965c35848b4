// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <juce_core/juce_core.h>

#include <optional>

namespace nadrix
{
// The known name closest to a mistyped one (letter case ignored), when it is
// close enough to be what was meant: a few letters wrong, missing or extra.
std::optional<juce::String> nearestName (const juce::String& typed, const juce::StringArray& known);

// " (did you mean 'Mix'?)", or nothing when no name is close.
juce::String didYouMean (const juce::String& typed, const juce::StringArray& known);
} // namespace nadrix
