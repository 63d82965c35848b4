// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <juce_audio_basics/juce_audio_basics.h>

namespace nadrix
{
// A few seconds of stereo material that shows a reverb off: drum-like hits,
// then a sustained chord that stops dead so the tail is heard on its own.
// The same every time.
juce::AudioBuffer<float> makeDemoSignal (double sampleRate);
} // namespace nadrix
