// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/controls/EValueControl.h"

namespace nadrix
{
// A linear control with three drawing styles. Drags move it by 0.004 per pixel
// whatever its size. Values pushed in while the user drags are ignored; a
// stepped slider reports values rounded down to a step and ignores the echo
// of what it reported, keeping its finer value.
class ESlider final : public EValueControl
{
public:
    enum class Style { plainBar, dotOnLine, framedBar };
    enum class Orientation { horizontal, vertical };

    ESlider() = default;

    // Ignored during a drag, and for a stepped slider when it echoes the
    // last value pushed or reported.
    void setValue (float v) override;
    using EValueControl::setValue;

    void paint (juce::Graphics& g) override;
    void resized() override;
    void mouseDown (const juce::MouseEvent& e) override;
    void mouseDrag (const juce::MouseEvent& e) override;
    void mouseUp (const juce::MouseEvent& e) override;
    void mouseDoubleClick (const juce::MouseEvent& e) override;
    void mouseWheelMove (const juce::MouseEvent& e, const juce::MouseWheelDetails& wheel) override;

    // Configuration the owner writes after construction.
    Style style = Style::plainBar;
    int numSteps = 0; // 0 or less: continuous
    Orientation orientation = Orientation::horizontal;

private:
    float rounded (float v) const;
    int keySteps() const override { return numSteps; }
    void paintDotOnLine (juce::Graphics& g, float s) const;
    void paintFramedBar (juce::Graphics& g, float s) const;
    void paintStepMarks (juce::Graphics& g) const;

    bool isDragging = false;
    float lastMouseX = 0.0f;
    float lastMouseY = 0.0f;
    float lastPushedValue = -1.0f;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ESlider)
};
} // namespace nadrix
