// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <juce_audio_basics/juce_audio_basics.h>

namespace nadrix
{
// Where --impulse ends its response: after the last frame whose level (on
// any channel) is within `ImpulseLength::fallDb` of the response's peak.
namespace ImpulseLength
{
    constexpr double fallDb = -90.0;

    // The frames up to and including that last one.
    juce::int64 framesWithinRange (const juce::AudioBuffer<float>& response);
}
} // namespace nadrix
