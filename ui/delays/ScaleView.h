// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

namespace nadrix
{
// The faint time scale behind the delay lines: concentric rings 5 x zoom
// pixels apart around the fan's origin at the middle of the top edge,
// beyond the 60-pixel centre circle. Painted only into the delay-line
// view's cached background.
class ScaleView final : public juce::Component
{
public:
    ScaleView() = default;

    void paint (juce::Graphics& g) override;
    void resized() override;

    float zoom = 1.5f;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ScaleView)
};
} // namespace nadrix
