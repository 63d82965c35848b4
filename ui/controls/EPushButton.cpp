// SPDX-License-Identifier: GPL-3.0-or-later
#include "EPushButton.h"

#include "ReleaseInside.h"

void EPushButton::setImages (juce::Image up, juce::Image down)
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

void EPushButton::paint (juce::Graphics& g)
{
    g.drawImageAt (isDown ? downImage : upImage, 0, 0, false);
}
