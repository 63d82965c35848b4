// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/controls/EPushButton.h"

#include "ui/controls/ControlAccessibility.h"
#include "ui/controls/ReleaseInside.h"

namespace nadrix
{
namespace
{
    bool presses (const juce::KeyPress& key) { return key == juce::KeyPress::spaceKey || key == juce::KeyPress::returnKey; }
}

void EPushButton::setImages (juce::Image up, juce::Image down)
{
    setImages (ScaledImage (up, {}), ScaledImage (down, {}));
}

void EPushButton::setImages (const ScaledImage& up, const ScaledImage& down)
{
    upImage = up;
    downImage = down;
    setBounds (getX(), getY(), upImage.getWidth(), upImage.getHeight());
    repaint();
}

void EPushButton::resized() {}

void EPushButton::mouseDown (const juce::MouseEvent&)
{
    isDown = true;
    repaint();
}

void EPushButton::mouseUp (const juce::MouseEvent& e)
{
    isDown = false;
    repaint();

    if (releaseInside (*this, e) && callback != nullptr)
        callback->buttonClicked (this);
}

bool EPushButton::keyPressed (const juce::KeyPress& key)
{
    if (! presses (key))
        return false;
    if (callback != nullptr)
        callback->buttonClicked (this);
    return true;
}

std::unique_ptr<juce::AccessibilityHandler> EPushButton::createAccessibilityHandler()
{
    return ControlAccessibility::forButton (*this, [this] { if (callback != nullptr) callback->buttonClicked (this); }, false, {});
}

void EPushButton::paint (juce::Graphics& g)
{
    (isDown ? downImage : upImage).drawAt (g, 0, 0);
    paintFocusRing (g);
}
} // namespace nadrix
