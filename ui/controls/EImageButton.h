// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/controls/EValueControl.h"
#include "ui/controls/ScaledImage.h"

namespace nadrix
{
// A button drawn from two images, in one of two modes. Momentary: it shows
// its second image while pressed and reports a click (buttonClicked) when
// the mouse button is released over it. Toggle: each click released over it
// switches the value between 0 and 1 and reports the new value
// (valueChanged); the second image shows it on, which is above 0.5. Space or
// Return presses it, as a click would.
class EImageButton : public EValueControl
{
public:
    enum class Mode { momentary, toggle };

    explicit EImageButton (Mode mode);

    // Stores both images and takes the size of the first one; with their
    // doubled sizes too, for screens scaled by more than 1.
    void setImages (juce::Image first, juce::Image second);
    void setImages (const ScaledImage& first, const ScaledImage& second);

    void paint (juce::Graphics& g) override;
    void resized() override;
    void mouseDown (const juce::MouseEvent& e) override;
    void mouseUp (const juce::MouseEvent& e) override;
    bool keyPressed (const juce::KeyPress& key) override;

private:
    std::unique_ptr<juce::AccessibilityHandler> createAccessibilityHandler() override;
    // A completed click, from the mouse, the keyboard or a screen reader.
    void click();
    bool showsSecondImage() const noexcept;

    const Mode mode;
    ScaledImage firstImage, secondImage;
    bool isDown = false;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (EImageButton)
};
} // namespace nadrix
