// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/controls/ControlKeys.h"

#include <cmath>

namespace nadrix
{
std::optional<float> ControlKeys::stepped (const juce::KeyPress& key, float value, int numSteps)
{
    const int code = key.getKeyCode();
    if (code == juce::KeyPress::homeKey)
        return 0.0f;
    if (code == juce::KeyPress::endKey)
        return 1.0f;

    const bool large = key.getModifiers().isShiftDown() || code == juce::KeyPress::pageUpKey || code == juce::KeyPress::pageDownKey;
    int direction = 0;
    if (code == juce::KeyPress::upKey || code == juce::KeyPress::rightKey || code == juce::KeyPress::pageUpKey)
        direction = 1;
    else if (code == juce::KeyPress::downKey || code == juce::KeyPress::leftKey || code == juce::KeyPress::pageDownKey)
        direction = -1;
    if (direction == 0)
        return std::nullopt;

    if (numSteps > 0)
    {
        // From step to step: a value between steps goes to the next one in the key's direction.
        const auto n = (float) numSteps;
        const auto steps = (float) (large ? std::max (1, numSteps / 4) : 1);
        const float current = direction > 0 ? std::floor (value * n + 1.0e-4f) : std::ceil (value * n - 1.0e-4f);
        return juce::jlimit (0.0f, 1.0f, (current + (float) direction * steps) / n);
    }
    return juce::jlimit (0.0f, 1.0f, value + (float) direction * (large ? largeStep : smallStep));
}

void ControlKeys::paintFocusRing (juce::Graphics& g, juce::Rectangle<float> area)
{
    // Black outside, white inside: whatever lies under it, one of the two
    // contrasts with it by at least 3:1 (every colour does with white or
    // with black), so the ring is seen on the dark fan and the light panels.
    g.setColour (juce::Colours::black);
    g.drawRoundedRectangle (area.reduced (1.5f), 4.0f, 3.0f);
    g.setColour (juce::Colours::white);
    g.drawRoundedRectangle (area.reduced (2.5f), 3.0f, 1.5f);
}
} // namespace nadrix
