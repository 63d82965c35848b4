// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/controls/ESwitchButton.h"

#include "ui/controls/ControlAccessibility.h"
#include "ui/controls/ReleaseInside.h"

namespace nadrix
{
void ESwitchButton::setImages (juce::Image off, juce::Image on)
{
    setImages (ScaledImage (off, {}), ScaledImage (on, {}));
}

void ESwitchButton::setImages (const ScaledImage& off, const ScaledImage& on)
{
    offImage = off;
    onImage = on;
    setBounds (getX(), getY(), offImage.getWidth(), offImage.getHeight());
    repaint();
}

void ESwitchButton::resized() {}
void ESwitchButton::mouseDown (const juce::MouseEvent&) {}

void ESwitchButton::mouseUp (const juce::MouseEvent& e)
{
    if (releaseInside (*this, e))
        toggle();
}

void ESwitchButton::toggle()
{
    // The switch changes itself before it reports, so an owner that keeps a
    // radio group can set it back from inside valueChanged.
    value = value > 0.5f ? 0.0f : 1.0f;
    if (callback != nullptr)
        callback->valueChanged (this, paramId, value);
    repaint();
}

bool ESwitchButton::keyPressed (const juce::KeyPress& key)
{
    if (key != juce::KeyPress::spaceKey && key != juce::KeyPress::returnKey)
        return false;
    toggle();
    return true;
}

std::unique_ptr<juce::AccessibilityHandler> ESwitchButton::createAccessibilityHandler()
{
    return ControlAccessibility::forButton (*this, [this] { toggle(); }, true, [this] { return value > 0.5f; });
}

void ESwitchButton::paint (juce::Graphics& g)
{
    (value > 0.5f ? onImage : offImage).drawAt (g, 0, 0);
    paintFocusRing (g);
}
} // namespace nadrix
