// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/delays/ScaleView.h"

#include "ui/controls/FloatColour.h"

namespace nadrix
{
void ScaleView::resized() {}

void ScaleView::paint (juce::Graphics& g)
{
    const auto w = (float) getWidth();
    const auto h = (float) getHeight();
    const float step = 5.0f * zoom;

    g.setColour (floatColour (1.0f, 1.0f, 1.0f, 0.05f));

    for (float r = 60.0f; h - step > r;)
    {
        r = r + step;
        juce::Path ring;
        ring.addCentredArc (w * 0.5f, 0.0f, r, r, 0.0f, 0.0f, juce::MathConstants<float>::twoPi, true);
        g.strokePath (ring, juce::PathStrokeType (1.0f));
    }
}
} // namespace nadrix
