// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <optional>

namespace nadrix
{
// What the keyboard does to a focused value (0..1): the arrow keys step it
// by a hundredth, or a tenth with Shift (a stepped control by one step, or
// a quarter of its steps), Page Up and Page Down by a tenth, Home and End go
// to the ends. None: the key is not one of these. And how a control shows
// that it has the focus.
namespace ControlKeys
{
    std::optional<float> stepped (const juce::KeyPress& key, float value, int numSteps = 0);

    constexpr float smallStep = 0.01f, largeStep = 0.1f;

    // The outline a control draws around itself while it has the keyboard focus.
    void paintFocusRing (juce::Graphics& g, juce::Rectangle<float> area);
}
} // namespace nadrix
