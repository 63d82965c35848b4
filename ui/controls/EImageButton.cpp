// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/controls/EImageButton.h"

#include "ui/controls/ControlAccessibility.h"
#include "ui/controls/ReleaseInside.h"

namespace nadrix
{
EImageButton::EImageButton (Mode m) : mode (m) {}

void EImageButton::setImages (juce::Image first, juce::Image second)
{
    setImages (ScaledImage (first, {}), ScaledImage (second, {}));
}

void EImageButton::setImages (const ScaledImage& first, const ScaledImage& second)
{
    firstImage = first;
    secondImage = second;
    setBounds (getX(), getY(), firstImage.getWidth(), firstImage.getHeight());
    repaint();
}

void EImageButton::resized() {}

void EImageButton::mouseDown (const juce::MouseEvent&)
{
    if (mode != Mode::momentary)
        return;
    isDown = true;
    repaint();
}

void EImageButton::mouseUp (const juce::MouseEvent& e)
{
    if (isDown)
    {
        isDown = false;
        repaint();
    }
    if (releaseInside (*this, e))
        click();
}

bool EImageButton::keyPressed (const juce::KeyPress& key)
{
    if (key != juce::KeyPress::spaceKey && key != juce::KeyPress::returnKey)
        return false;
    click();
    return true;
}

void EImageButton::click()
{
    if (mode == Mode::momentary)
    {
        if (callback != nullptr)
            callback->buttonClicked (this);
        return;
    }

    // A switch changes itself before it reports, so an owner that keeps a
    // radio group can set it back from inside valueChanged.
    value = value > 0.5f ? 0.0f : 1.0f;
    if (callback != nullptr)
        callback->valueChanged (this, paramId, value);
    repaint();
}

bool EImageButton::showsSecondImage() const noexcept
{
    return mode == Mode::momentary ? isDown : value > 0.5f;
}

std::unique_ptr<juce::AccessibilityHandler> EImageButton::createAccessibilityHandler()
{
    if (mode == Mode::momentary)
        return ControlAccessibility::forButton (*this, [this] { click(); }, false, {});
    return ControlAccessibility::forButton (*this, [this] { click(); }, true, [this] { return value > 0.5f; });
}

void EImageButton::paint (juce::Graphics& g)
{
    (showsSecondImage() ? secondImage : firstImage).drawAt (g, 0, 0);
    paintFocusRing (g);
}
} // namespace nadrix
