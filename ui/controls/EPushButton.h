// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/controls/EValueControl.h"
#include "ui/controls/ScaledImage.h"

namespace nadrix
{
// A momentary image button: shows its second image while pressed and
// reports a click when the mouse button is released over it.
class EPushButton final : public EValueControl
{
public:
    EPushButton() = default;

    // Stores both images and takes the size of the first one; with their
    // doubled sizes too, for screens scaled by more than 1.
    void setImages (juce::Image up, juce::Image down);
    void setImages (const ScaledImage& up, const ScaledImage& down);

    void paint (juce::Graphics& g) override;
    void resized() override;
    void mouseDown (const juce::MouseEvent& e) override;
    void mouseUp (const juce::MouseEvent& e) override;
    // Space or Return presses it, as a click would.
    bool keyPressed (const juce::KeyPress& key) override;

private:
    std::unique_ptr<juce::AccessibilityHandler> createAccessibilityHandler() override;
    ScaledImage upImage, downImage;
    bool isDown = false;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (EPushButton)
};
} // namespace nadrix
