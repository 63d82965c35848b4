// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

namespace nadrix
{
// The value being edited, shown at once beside the control while it is
// dragged, wheeled or stepped from the keyboard: the tooltip's own text, so
// a value reads the same whether it is hovered or changed. It stays while
// a gesture lasts and goes shortly after its end.
class ValueReadout final : public juce::Component,
                           private juce::Timer
{
public:
    ValueReadout();

    // Shows `text` just above `anchor` (in the parent's coordinates), kept
    // inside the parent, until hideSoon.
    void show (const juce::String& text, juce::Rectangle<int> anchor);
    void hideSoon();
    const juce::String& getText() const noexcept { return text; }

    void paint (juce::Graphics& g) override;

    static constexpr int lingerMs = 1000;

private:
    friend struct EditorInspector; // the tests end the lingering at once
    void timerCallback() override;

    juce::String text;
    juce::Font font { 14.0f };
};
} // namespace nadrix
