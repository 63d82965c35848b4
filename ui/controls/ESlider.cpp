// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/controls/ESlider.h"

#include "ui/controls/FloatColour.h"

namespace nadrix
{
namespace
{
    constexpr float pixelsToValue = 0.004f; // 250 pixels cover the whole range

    const juce::Colour dotColour = floatColour (1.0f, 1.0f, 1.0f, 0.6f);
    const juce::Colour lineColour = floatColour (1.0f, 1.0f, 1.0f, 0.2f);
    const juce::Colour barColour = floatColour (1.0f, 1.0f, 1.0f, 0.3f);
    const juce::Colour frameColour = floatColour (1.0f, 1.0f, 1.0f, 0.7f);
    const juce::Colour stepColour = floatColour (0.0f, 0.0f, 0.0f, 0.1f);

    const juce::PathStrokeType hairline (1.0f, juce::PathStrokeType::mitered, juce::PathStrokeType::butt);
}

void ESlider::setValue (float v)
{
    if (isDragging)
        return; // the user's drag wins over pushed values

    if (numSteps > 0 && v == lastPushedValue)
        return; // the echo of a rounded value this slider reported

    lastPushedValue = v;
    setValue (v, true);
}

void ESlider::resized() {}

float ESlider::rounded (float v) const
{
    if (numSteps <= 0)
        return v;

    // Rounded down to a step: with 4 steps, 0.3 gives 0.25.
    return (float) (int) (v * (float) numSteps) / (float) numSteps;
}

void ESlider::mouseDown (const juce::MouseEvent& e)
{
    isDragging = true;
    lastMouseX = (float) e.getPosition().x;
    lastMouseY = (float) e.getPosition().y;
    beginDragGesture();
}

void ESlider::mouseDrag (const juce::MouseEvent& e)
{
    const auto x = (float) e.getPosition().x;
    const auto y = (float) e.getPosition().y;
    const float delta = orientation == Orientation::vertical ? (y - lastMouseY) * -pixelsToValue : (x - lastMouseX) * pixelsToValue;

    value += delta;
    if (value < 0.0f)
        value = 0.0f;
    else if (value > 1.0f)
        value = 1.0f;

    lastMouseX = x;
    lastMouseY = y;

    if (callback != nullptr)
        callback->valueChanged (this, paramId, rounded (value));
    repaint();
}

void ESlider::mouseUp (const juce::MouseEvent&)
{
    isDragging = false;
    endDragGesture();
}

void ESlider::mouseDoubleClick (const juce::MouseEvent&)
{
    resetToDefault();
}

void ESlider::mouseWheelMove (const juce::MouseEvent&, const juce::MouseWheelDetails& wheel)
{
    const float v = valueAfterWheel (wheel, false);
    const float q = rounded (v);
    setValue (v, true);
    lastPushedValue = q; // so the echo of the reported step does not undo the finer value

    if (callback != nullptr)
        callback->valueChanged (this, paramId, q);
}

void ESlider::paint (juce::Graphics& g)
{
    const float s = rounded (value);
    const auto wf = (float) getWidth();
    const auto hf = (float) getHeight();

    switch (style)
    {
        case Style::plainBar:
            g.setColour (juce::Colours::white);
            if (orientation == Orientation::vertical)
                g.fillRect (juce::Rectangle<float> (0.0f, (1.0f - s) * hf, wf, hf));
            else
                g.fillRect (juce::Rectangle<float> (0.0f, 0.0f, wf * s, hf));
            break;
        case Style::dotOnLine: paintDotOnLine (g, s); break;
        case Style::framedBar: paintFramedBar (g, s); break;
    }

    paintStepMarks (g);
    paintFocusRing (g);
}

void ESlider::paintDotOnLine (juce::Graphics& g, float s) const
{
    const auto wf = (float) getWidth();
    const auto hf = (float) getHeight();
    const float half = hf / 2.0f;
    const float x = (wf - 2.0f * half) * s + half;
    const float radius = half - 0.25f * hf;

    juce::Path dot;
    dot.addCentredArc (x, half, radius, radius, 0.0f, 0.0f, 6.2831855f, true);
    g.setColour (dotColour);
    g.fillPath (dot);

    // The line stops half a height short of the dot on each side.
    juce::Path line;
    if (s > 0.0f)
    {
        line.startNewSubPath (0.0f, half);
        line.lineTo (x - half, half);
    }
    line.startNewSubPath (x + half, half);
    line.lineTo (wf, half);
    g.setColour (lineColour);
    g.strokePath (line, hairline);
}

void ESlider::paintFramedBar (juce::Graphics& g, float s) const
{
    const int w = getWidth(), h = getHeight();

    juce::Path bar;
    bar.addRoundedRectangle (1.5f, 1.0f, s * (float) (w - 3), (float) (h - 2), 3.0f, 3.0f, true, false, true, false);
    g.setColour (barColour);
    g.fillPath (bar);

    g.setColour (frameColour);
    g.drawRoundedRectangle (1.0f, 1.0f, (float) (w - 2), (float) (h - 2), 3.0f, 1.0f);
}

void ESlider::paintStepMarks (juce::Graphics& g) const
{
    if (numSteps < 2)
        return;

    const auto wf = (float) getWidth();
    const int h = getHeight();
    g.setColour (stepColour);

    for (int i = 1; i < numSteps; ++i)
    {
        const float x = (float) i * wf / (float) numSteps;
        g.drawLine (x, (float) (h * 0.5 - 2.0), x, (float) (h * 0.5 + 2.0), 1.0f);
    }
}
} // namespace nadrix
