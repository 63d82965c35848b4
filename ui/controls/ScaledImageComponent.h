// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/controls/ScaledImage.h"

namespace nadrix
{
// A piece of artwork shown as a component of its own (drawn at its top left,
// the larger image on scaled screens); it takes no mouse clicks.
class ScaledImageComponent final : public juce::Component
{
public:
    ScaledImageComponent() { setInterceptsMouseClicks (false, false); }

    void setImage (const ScaledImage& newImage)
    {
        image = newImage;
        repaint();
    }

    void paint (juce::Graphics& g) override { image.drawAt (g, 0, 0); }

private:
    ScaledImage image;
};
} // namespace nadrix
