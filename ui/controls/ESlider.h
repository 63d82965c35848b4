#pragma once

#include "EComponent.h"

// A linear control with three drawing styles: 0 a plain bar, 1 a dot on a
// line, 2 a rounded bar in a frame. Drags move it by 0.004 per pixel
// whatever its size. Values pushed in while the user drags are ignored; a
// stepped slider reports values rounded down to a step and ignores the echo
// of what it reported, keeping its finer value.
class ESlider final : public EComponent
{
public:
    ESlider() = default;

    void setCallback (UICallback* cb) override;
    void setValue (float v) override;
    void setValue (float v, bool repaintNow) override;
    float getValue() override;
    void setParamId (int id) override;
    int getParamId() override;

    void paint (juce::Graphics& g) override;
    void resized() override;
    void mouseDown (const juce::MouseEvent& e) override;
    void mouseDrag (const juce::MouseEvent& e) override;
    void mouseUp (const juce::MouseEvent& e) override;
    void mouseDoubleClick (const juce::MouseEvent& e) override;
    void mouseWheelMove (const juce::MouseEvent& e, const juce::MouseWheelDetails& wheel) override;

    // Configuration the owner writes after construction.
    int style = 0;
    int numSteps = 0;     // 0 or less: continuous
    int orientation = 0;  // 0 horizontal, 1 vertical

private:
    float rounded (float v) const;
    void paintDotOnLine (juce::Graphics& g, float s) const;
    void paintFramedBar (juce::Graphics& g, float s) const;
    void paintStepMarks (juce::Graphics& g) const;

    bool isDragging = false;
    float lastMouseX = 0.0f;
    float lastMouseY = 0.0f;
    float lastPushedValue = -1.0f;
    int paramId = -1;
    float value = 0.0f;
    UICallback* callback = nullptr;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ESlider)
};
