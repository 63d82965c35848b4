// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/controls/EValueControl.h"

namespace nadrix
{
// A rotary control drawn from vector paths: a track, a lit value arc, a
// centre dot and a pointer. Vertical drags change the value by the square of
// the distance moved per event (fine when slow, coarse when fast); the wheel
// and a double-click reset change it too. A stepped knob reports its value
// rounded up to the next step.
class EKnob final : public EValueControl
{
public:
    EKnob() = default;

    void paint (juce::Graphics& g) override;
    void resized() override;
    void mouseDown (const juce::MouseEvent& e) override;
    void mouseDrag (const juce::MouseEvent& e) override;
    void mouseUp (const juce::MouseEvent& e) override;
    void mouseDoubleClick (const juce::MouseEvent& e) override;
    void mouseWheelMove (const juce::MouseEvent& e, const juce::MouseWheelDetails& wheel) override;

    // Configuration the owner writes after construction.
    int numSteps = 0;        // 0 or less: continuous
    bool reversed = false;   // the value runs against the arc, the drag and the wheel
    float arcThickness = 3.0f;

private:
    float reportedValue() const;
    int keySteps() const override { return numSteps; }

    float lastMouseY = 0.0f; // at the previous mouse-down or drag event

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (EKnob)
};
} // namespace nadrix
