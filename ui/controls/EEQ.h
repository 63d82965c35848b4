// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/controls/EComponent.h"

namespace nadrix
{
// The three-band picture of the splitter: a filled shape with a flat level
// per band and smooth steps at the two split points. Dragging a split line
// moves it, dragging the low or high band changes its gain, dragging the
// middle band moves both splits and its gain at once. It edits five
// parameters, so values go in and out by parameter index; its single-value
// interface is inert. With the keyboard focus, Left and Right choose a band
// and the other keys of ControlKeys step its gain. Its tooltip and what
// screen readers hear describe a band: its frequencies and its gain.
class EEQ final : public EComponent, public juce::TooltipClient
{
public:
    EEQ();

    void setCallback (UICallback* cb) override;
    void setValue (float) override;
    void setValue (float, bool) override;
    float getValue() override;
    void setParamId (int) override;
    int getParamId() override;
    float getValueForParamId (int id) override;
    void setValueForParamId (int id, float v) override;

    // Passes a report on as its own, then repaints.
    virtual void valueChanged (EComponent* source, int paramId, float value);

    void paint (juce::Graphics& g) override;
    void resized() override;
    void mouseDown (const juce::MouseEvent& e) override;
    void mouseDrag (const juce::MouseEvent& e) override;
    void mouseUp (const juce::MouseEvent& e) override;
    bool keyPressed (const juce::KeyPress& key) override;
    void focusGained (FocusChangeType) override { repaint(); }
    void focusLost (FocusChangeType) override { repaint(); }

    // The band under the pointer, as the tooltip shows it.
    juce::String getTooltip() override;
    enum Band { low, middle, high };
    juce::String describe (Band band) const;
    Band selectedBand = low; // the band the keyboard steps
    // Appends the quadratic curve from the path's current point `start` to
    // `end` with control point `control`, written as a cubic.
    static void addSimpleCurve (juce::Path* path, juce::Point<float> start, juce::Point<float> end, juce::Point<float> control);

    enum DragMode { none, lowSplitLine, midSplitLine, middleBand, lowBand, highBand };

    // Configuration the owner writes after construction: the parameter
    // indices, the splits as normalised values and the gains on the 0..2
    // scale (twice the normalised gain parameters).
    UICallback* callback = nullptr;
    int midSplitParamId = -1;
    int lowSplitParamId = -1;
    int lowGainParamId = -1;
    int midGainParamId = -1;
    int highGainParamId = -1;
    float midSplit = 0.0f;
    float lowSplit = 0.0f;
    float lowGain = 0.0f;
    float midGain = 0.0f;
    float highGain = 0.0f;

private:
    std::unique_ptr<juce::AccessibilityHandler> createAccessibilityHandler() override;
    void changeGainByUser (Band band, float normalisedGain);
    float& gainOf (Band band);
    int gainParamIdOf (Band band) const;
    juce::String textFor (int paramId, float value) const;
    void report (int paramId, float value);
    void dragSplit (float dx);
    void dragMiddleBand (float dx, float dy);
    static float draggedGain (float gain, float dy);
    float levelOf (float gain) const;

    int dragMode = none;
    float lastMouseX = 0.0f;
    float lastMouseY = 0.0f;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (EEQ)
};
} // namespace nadrix
