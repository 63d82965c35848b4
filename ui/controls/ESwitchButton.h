// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/controls/EValueControl.h"
#include "ui/controls/ScaledImage.h"

namespace nadrix
{
// A two-state image button: each click released over it toggles the value
// between 0 and 1 and reports the new value. On means above 0.5.
class ESwitchButton final : public EValueControl
{
public:
    ESwitchButton() = default;

    // Stores both images and takes the size of the first one; with their
    // doubled sizes too, for screens scaled by more than 1.
    void setImages (juce::Image off, juce::Image on);
    void setImages (const ScaledImage& off, const ScaledImage& on);

    void paint (juce::Graphics& g) override;
    void resized() override;
    void mouseDown (const juce::MouseEvent& e) override;
    void mouseUp (const juce::MouseEvent& e) override;
    // Space or Return presses it, as a click would.
    bool keyPressed (const juce::KeyPress& key) override;

private:
    void toggle();
    std::unique_ptr<juce::AccessibilityHandler> createAccessibilityHandler() override;
    ScaledImage offImage, onImage;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ESwitchButton)
};
} // namespace nadrix
