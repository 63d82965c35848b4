// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <juce_audio_basics/juce_audio_basics.h>

#include <functional>

namespace nadrix
{
// Where --impulse ends its response: after the last frame whose level (on
// any channel) is within `ImpulseLength::fallDb` of the response's peak.
namespace ImpulseLength
{
    constexpr double fallDb = -90.0;

    // The frames up to and including that last one.
    juce::int64 framesWithinRange (const juce::AudioBuffer<float>& response);

    // The impulse response of a reverb whose reported tail is `tailSeconds`:
    // that tail (or a second) first, then a second at a time until the last
    // second has fallen far enough, a minute at most, and kept to
    // framesWithinRange but never shorter than the reported tail or a second
    // (an analysis's octave filters must ring out within it). `run (frames,
    // keep)` renders the reverb's next frames (a unit impulse on both
    // inputs, then silence), handing each block to `keep`.
    using Keep = std::function<bool (const juce::AudioBuffer<float>& block)>;
    using Run = std::function<juce::Result (juce::int64 frames, const Keep& keep)>;
    juce::Result render (double rate, double tailSeconds, const Run& run, juce::AudioBuffer<float>& response);
}
} // namespace nadrix
