// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/controls/EKnob.h"

#include "ui/controls/FloatColour.h"

#include <cmath>

namespace nadrix
{
namespace
{
    constexpr float sweepRotation = 2.1676989f;   // 0.69 pi: the sweep is symmetric about 12 o'clock
    constexpr float sweepStart = -4.3353977f;     // -1.38 pi before the rotation
    constexpr double dragPerPixel = 0.021;        // squared: the change per drag event
    constexpr float steppedShare = 0.5f;          // a stepped knob moves linearly: half of dragPerPixel a pixel
    constexpr float dotDiameter = 10.0f;

    const juce::Colour trackColour = floatColour (0.0f, 0.0f, 0.0f, 0.32f);
    const juce::Colour litColour = floatColour (0.3647059f, 0.70980394f, 0.4627451f, 1.0f);
    const juce::Colour dotColour = floatColour (1.0f, 1.0f, 1.0f, 0.3f);
}

void EKnob::resized() {}

float EKnob::reportedValue() const
{
    if (numSteps <= 0)
        return value;

    // Rounded up to the next step: with 4 steps, 0.3 reports 0.5.
    const auto n = (float) numSteps;
    return (n - (float) (int) ((1.0f - value) * n)) / n;
}

void EKnob::mouseDown (const juce::MouseEvent& e)
{
    lastMouseY = (float) e.getPosition().y;
    beginDragGesture();
}

void EKnob::mouseDrag (const juce::MouseEvent& e)
{
    const auto y = (float) e.getPosition().y;
    const float dy = y - lastMouseY;
    const bool negate = reversed != (dy > 0.0f);

    // The change is the square of the distance moved since the last event;
    // a stepped knob moves linearly, 0.0105 per pixel.
    auto step = (float) ((double) dy * dragPerPixel);
    step = step * step;
    if (numSteps > 0)
        step = std::sqrt (step) * steppedShare;
    if (negate)
        step = -step;

    value = std::min (1.0f, std::max (0.0f, value + step));
    lastMouseY = y;

    if (callback != nullptr)
        callback->valueChanged (this, paramId, reportedValue());
    repaint();
}

void EKnob::mouseUp (const juce::MouseEvent&)
{
    endDragGesture();
}

void EKnob::mouseDoubleClick (const juce::MouseEvent&)
{
    resetToDefault();
}

void EKnob::mouseWheelMove (const juce::MouseEvent&, const juce::MouseWheelDetails& wheel)
{
    const float v = valueAfterWheel (wheel, reversed);
    setValue (v, true);
    if (callback != nullptr)
        callback->valueChanged (this, paramId, v); // unrounded, also for a stepped knob
}

void EKnob::paint (juce::Graphics& g)
{
    const float cx = (float) getWidth() / 2.0f;
    const float cy = (float) getHeight() / 2.0f;
    const float t = arcThickness;
    const float r = cx - t / 2.0f;

    float s = reversed ? value : 1.0f - value;
    if (numSteps > 0)
        s = (float) (int) (s * (float) numSteps) / (float) numSteps;

    const auto end = (float) ((double) s * juce::MathConstants<double>::pi * 0.23000000417232513 * -6.0);
    const juce::PathStrokeType stroke (t, juce::PathStrokeType::mitered, juce::PathStrokeType::butt);

    juce::Path track;
    track.addCentredArc (cx, cy, r, r, sweepRotation, sweepStart, -0.0f, true);
    g.setColour (trackColour);
    g.strokePath (track, stroke);

    juce::Path lit;
    lit.addCentredArc (cx, cy, r, r, sweepRotation, sweepStart, end, true);
    g.setColour (litColour);
    g.strokePath (lit, stroke);

    g.setColour (dotColour);
    g.fillEllipse (cx - dotDiameter / 2.0f, cy - dotDiameter / 2.0f, dotDiameter, dotDiameter);

    // The pointer ends at the inner edge of the arc stroke, at the lit end.
    const auto b = (float) (-2.1676989703001954 - (double) end - juce::MathConstants<double>::pi);
    const float reach = r - t / 2.0f;
    g.drawLine (cx, cy, cx + std::sin (b) * reach, cy + std::cos (b) * reach, 1.0f);
    paintFocusRing (g);
}
} // namespace nadrix
