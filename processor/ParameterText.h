// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <juce_core/juce_core.h>

#include <optional>

namespace nadrix
{
// How a parameter reads to a user, in the units the reverb works in, and
// back: "84.6 % wet", "1174.2 Hz", "-3.0 dB", "L 30.0 %", "16.4 ms",
// "On", "11.40x". Hosts show these texts and let users type them; the window
// shows the same texts. The stored values stay normalised 0..1.
namespace ParameterText
{
    juce::String format (int index, float normalised);

    // What a user typed: the forms above with or without the unit, and the
    // usual variants ("250ms", "0.25 s", "-3dB", "L30", "C", "on"). A bare
    // number means the parameter's own unit (percent for a percentage).
    // Out-of-range values are clamped to 0..1; text that cannot be read
    // gives nothing.
    std::optional<float> parse (int index, const juce::String& text);
    // The same before clamping: below 0 or above 1 when the value typed lies
    // beyond the parameter's range.
    std::optional<double> parseUnclamped (int index, const juce::String& text);
}
} // namespace nadrix
