// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "processor/NadrixAudioProcessor.h"

namespace nadrix
{
// Builds the processor's editor off-screen, paints the whole window with the
// software renderer and writes it as a PNG, under a temporary name renamed
// into place.
juce::Result writeEditorSnapshot (NadrixAudioProcessor& processor, const juce::File& file);
} // namespace nadrix
