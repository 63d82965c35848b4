// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/controls/EEQ.h"

#include "ui/controls/ControlAccessibility.h"
#include "ui/controls/ControlKeys.h"
#include "ui/controls/FloatColour.h"

#include <cmath>

namespace nadrix
{
namespace
{
    constexpr double splitPerPixel = 0.002; // 500 pixels cover the whole range
    constexpr double gainPerPixel = 0.007;  // on the 0..2 scale
    constexpr float minimumSplit = 0.1f, maximumSplit = 0.9f, minimumBand = 0.1f;

    const juce::Colour shapeColour = floatColour (1.0f, 1.0f, 1.0f, 0.4f);
    const juce::Colour guideColour = floatColour (1.0f, 1.0f, 1.0f, 0.1f);
}

EEQ::EEQ()
{
    setWantsKeyboardFocus (true);
}

void EEQ::setCallback (UICallback* cb) { callback = cb; }
void EEQ::setValue (float) {}
void EEQ::setValue (float, bool) {}
float EEQ::getValue() { return 0.0f; }
void EEQ::setParamId (int) {}
int EEQ::getParamId() { return 0; }
void EEQ::resized() {}

float EEQ::getValueForParamId (int id)
{
    if (id == highGainParamId) return highGain * 0.5f;
    if (id == lowGainParamId) return lowGain * 0.5f;
    if (id == midGainParamId) return midGain * 0.5f;
    if (id == midSplitParamId) return midSplit;
    if (id == lowSplitParamId) return lowSplit;
    return 0.0f;
}

void EEQ::setValueForParamId (int id, float v)
{
    // Each index is tested on its own; pushed values are stored as they come.
    if (id == highGainParamId) highGain = 2.0f * v;
    if (id == lowGainParamId) lowGain = 2.0f * v;
    if (id == midGainParamId) midGain = 2.0f * v;
    if (id == midSplitParamId) midSplit = v;
    if (id == lowSplitParamId) lowSplit = v;
    repaint();
}

void EEQ::valueChanged (EComponent*, int paramId, float value)
{
    report (paramId, value);
    repaint();
}

void EEQ::report (int paramId, float value)
{
    if (callback != nullptr)
        callback->valueChanged (this, paramId, value);
}

void EEQ::mouseDown (const juce::MouseEvent& e)
{
    lastMouseX = (float) e.getPosition().x;
    lastMouseY = (float) e.getPosition().y;

    const auto w = (float) getWidth();
    const float x = lastMouseX;
    const float xLow = lowSplit * w, xMid = midSplit * w, tolerance = 0.05f * w;

    // The low split wins when both lines are within reach.
    if (std::abs (xLow - x) < tolerance)
        dragMode = lowSplitLine;
    else if (std::abs (xMid - x) < tolerance)
        dragMode = midSplitLine;
    else if (x < xLow)
        dragMode = lowBand;
    else if (x > xMid)
        dragMode = highBand;
    else
        dragMode = middleBand;

    // One press is one gesture, whichever of the five values the drag moves.
    if (callback != nullptr)
        callback->ui_beginGesture (this, -1);
}

void EEQ::mouseDrag (const juce::MouseEvent& e)
{
    const auto x = (float) e.getPosition().x;
    const auto y = (float) e.getPosition().y;
    const float dx = lastMouseX - x; // positive when the mouse moved left
    const float dy = lastMouseY - y; // positive when it moved up
    lastMouseX = x;
    lastMouseY = y;

    switch (dragMode)
    {
        case lowSplitLine:
        case midSplitLine:
            dragSplit (dx);
            break;
        case middleBand:
            dragMiddleBand (dx, dy);
            break;
        case lowBand:
            lowGain = draggedGain (lowGain, dy);
            report (lowGainParamId, lowGain * 0.5f);
            break;
        case highBand:
            highGain = draggedGain (highGain, dy);
            report (highGainParamId, highGain * 0.5f);
            break;
        default:
            return;
    }

    repaint();
}

void EEQ::mouseUp (const juce::MouseEvent&)
{
    dragMode = none;
    if (callback != nullptr)
        callback->ui_endGesture (this, -1);
}

void EEQ::dragSplit (float dx)
{
    // Each split stays 0.1 away from the other and inside 0.1..0.9; the outer
    // limit is applied last, so it wins.
    if (dragMode == lowSplitLine)
    {
        lowSplit = (float) ((double) lowSplit + (double) dx * -splitPerPixel);
        if (midSplit - lowSplit < minimumBand)
            lowSplit = midSplit - minimumBand;
        if (lowSplit < minimumSplit)
            lowSplit = minimumSplit;
        report (lowSplitParamId, lowSplit);
    }
    else
    {
        midSplit = (float) ((double) midSplit + (double) dx * -splitPerPixel);
        if (midSplit - lowSplit < minimumBand)
            midSplit = lowSplit + minimumBand;
        if (midSplit > maximumSplit)
            midSplit = maximumSplit;
        report (midSplitParamId, midSplit);
    }
}

void EEQ::dragMiddleBand (float dx, float dy)
{
    midGain = draggedGain (midGain, dy);

    // The band moves sideways as a whole and keeps its width at both ends.
    const float span = midSplit - lowSplit;
    const double shift = (double) dx * splitPerPixel;
    lowSplit = (float) ((double) lowSplit - shift);
    midSplit = (float) ((double) midSplit - shift);

    if (lowSplit < minimumSplit)
    {
        lowSplit = minimumSplit;
        midSplit = minimumSplit + span;
    }
    if (midSplit > maximumSplit)
    {
        midSplit = maximumSplit;
        lowSplit = maximumSplit - span;
    }

    report (midSplitParamId, midSplit);
    report (lowSplitParamId, lowSplit);
    report (midGainParamId, midGain * 0.5f);
}

float EEQ::draggedGain (float gain, float dy)
{
    const auto g = (float) ((double) gain + (double) dy * gainPerPixel);
    return std::min (2.0f, std::max (0.0f, g));
}

float EEQ::levelOf (float gain) const
{
    // Gain 1 lies on the centre line, 0 at 0.94 of the height, 2 at 0.06.
    return (2.0f - (0.88f * gain + (1.0f - 0.88f))) * (float) getHeight() * 0.5f;
}

void EEQ::addSimpleCurve (juce::Path* path, juce::Point<float> start, juce::Point<float> end, juce::Point<float> control)
{
    auto third = [] (float a, float c) { return (float) ((double) a * 0.3333 + (double) c * 0.6666); };
    path->cubicTo (third (start.x, control.x), third (start.y, control.y),
                   third (end.x, control.x), third (end.y, control.y),
                   end.x, end.y);
}

void EEQ::paint (juce::Graphics& g)
{
    const auto w = (float) getWidth();
    const auto h = (float) getHeight();
    const float xLow = lowSplit * w, xMid = midSplit * w, d = 0.05f * w;
    const float yL = levelOf (lowGain), yM = levelOf (midGain), yH = levelOf (highGain);

    juce::Path shape;
    shape.startNewSubPath (0.5f, yL);
    shape.lineTo (xLow - d, yL);
    shape.cubicTo (xLow, yL, xLow, yM, xLow + d, yM);
    shape.lineTo (xMid - d, yM);
    shape.cubicTo (xMid, yM, xMid, yH, xMid + d, yH);
    shape.lineTo (w, yH);
    shape.lineTo (w, h - 8.0f);
    addSimpleCurve (&shape, { w, h - 8.0f }, { w - 8.0f, h }, { w, h });
    shape.lineTo (8.5f, h);
    addSimpleCurve (&shape, { 8.5f, h }, { 0.5f, h - 8.0f }, { 0.5f, h });
    shape.closeSubPath();

    g.setColour (shapeColour);
    g.fillPath (shape);

    g.setColour (guideColour);
    g.drawLine (0.0f, h * 0.5f + 0.5f, w, h * 0.5f + 0.5f, 0.9f);
    g.drawLine (xLow + 0.5f, 0.0f, xLow + 0.5f, h, 0.9f);
    g.drawLine (xMid + 0.5f, 0.0f, xMid + 0.5f, h, 0.9f);

    if (hasKeyboardFocus (false))
    {
        const float from[] = { 0.0f, xLow, xMid }, to[] = { xLow, xMid, w };
        ControlKeys::paintFocusRing (g, { from[selectedBand], 0.0f, to[selectedBand] - from[selectedBand], h });
    }
}

float& EEQ::gainOf (Band band) { return band == low ? lowGain : band == middle ? midGain : highGain; }
int EEQ::gainParamIdOf (Band band) const { return band == low ? lowGainParamId : band == middle ? midGainParamId : highGainParamId; }

juce::String EEQ::textFor (int paramId, float value) const
{
    return callback != nullptr ? callback->valueText (paramId, value) : juce::String (value, 2);
}

juce::String EEQ::describe (Band band) const
{
    const auto lowEdge = textFor (lowSplitParamId, lowSplit), highEdge = textFor (midSplitParamId, midSplit);
    const float gain = (band == low ? lowGain : band == middle ? midGain : highGain) * 0.5f;
    const auto gainText = textFor (gainParamIdOf (band), gain);
    switch (band)
    {
        case low: return "Low band: below " + lowEdge + ", " + gainText;
        case middle: return "Middle band: " + lowEdge + " to " + highEdge + ", " + gainText;
        default: return "High band: above " + highEdge + ", " + gainText;
    }
}

juce::String EEQ::getTooltip()
{
    const auto x = (float) getMouseXYRelative().x, w = (float) getWidth();
    return describe (x < lowSplit * w ? low : x > midSplit * w ? high : middle);
}

void EEQ::changeGainByUser (Band band, float normalisedGain)
{
    if (callback != nullptr)
        callback->ui_beginGesture (this, -1);
    gainOf (band) = 2.0f * normalisedGain;
    report (gainParamIdOf (band), normalisedGain);
    if (callback != nullptr)
        callback->ui_endGesture (this, -1);
    repaint();
}

bool EEQ::keyPressed (const juce::KeyPress& key)
{
    if (key.getKeyCode() == juce::KeyPress::leftKey || key.getKeyCode() == juce::KeyPress::rightKey)
    {
        const int step = key.getKeyCode() == juce::KeyPress::leftKey ? -1 : 1;
        selectedBand = (Band) juce::jlimit ((int) low, (int) high, (int) selectedBand + step);
        if (auto* handler = getAccessibilityHandler())
            handler->notifyAccessibilityEvent (juce::AccessibilityEvent::valueChanged);
        repaint();
        return true;
    }

    const auto next = ControlKeys::stepped (key, gainOf (selectedBand) * 0.5f);
    if (! next.has_value())
        return false;
    changeGainByUser (selectedBand, *next);
    return true;
}

std::unique_ptr<juce::AccessibilityHandler> EEQ::createAccessibilityHandler()
{
    return ControlAccessibility::forValue (*this, { [this] { return gainOf (selectedBand) * 0.5f; },
                                                    [this] (float v) { changeGainByUser (selectedBand, juce::jlimit (0.0f, 1.0f, v)); },
                                                    [this] { return describe (selectedBand); } });
}
} // namespace nadrix
