// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/editor/ValueReadout.h"

namespace nadrix
{
ValueReadout::ValueReadout()
{
    setInterceptsMouseClicks (false, false);
    setVisible (false);
}

void ValueReadout::show (const juce::String& newText, juce::Rectangle<int> anchor)
{
    stopTimer();
    text = newText;
    if (text.isEmpty() || getParentComponent() == nullptr)
    {
        setVisible (false);
        return;
    }

    const int width = font.getStringWidth (text) + 16, height = (int) font.getHeight() + 10;
    auto box = juce::Rectangle<int> (width, height).withCentre ({ anchor.getCentreX(), anchor.getY() - height / 2 - 4 });
    if (box.getY() < 0) // no room above: below instead
        box.setY (anchor.getBottom() + 4);
    setBounds (box.constrainedWithin (getParentComponent()->getLocalBounds()));
    setVisible (true);
    toFront (false);
    repaint();
}

void ValueReadout::hideSoon()
{
    if (isVisible())
        startTimer (lingerMs);
}

void ValueReadout::timerCallback()
{
    stopTimer();
    setVisible (false);
}

void ValueReadout::paint (juce::Graphics& g)
{
    // White on near-black: the text reads whatever lies under the box.
    const auto area = getLocalBounds().toFloat();
    g.setColour (juce::Colour (0xee101418));
    g.fillRoundedRectangle (area, 4.0f);
    g.setColour (juce::Colours::white.withAlpha (0.35f));
    g.drawRoundedRectangle (area.reduced (0.5f), 4.0f, 1.0f);
    g.setColour (juce::Colours::white);
    g.setFont (font);
    g.drawText (text, getLocalBounds(), juce::Justification::centred, false);
}
} // namespace nadrix
