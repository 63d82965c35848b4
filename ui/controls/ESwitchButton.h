// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "EValueControl.h"

// A two-state image button: each click released over it toggles the value
// between 0 and 1 and reports the new value. On means above 0.5.
class ESwitchButton final : public EValueControl
{
public:
    ESwitchButton() = default;

    // Stores both images and takes the size of the first one.
    void setImages (juce::Image off, juce::Image on);

    void paint (juce::Graphics& g) override;
    void resized() override;
    void mouseDown (const juce::MouseEvent& e) override;
    void mouseUp (const juce::MouseEvent& e) override;
    // Space or Return presses it, as a click would.
    bool keyPressed (const juce::KeyPress& key) override;

private:
    void toggle();
    std::unique_ptr<juce::AccessibilityHandler> createAccessibilityHandler() override;
    juce::Image offImage, onImage;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ESwitchButton)
};
