#pragma once

#include "EComponent.h"

// A two-state image button: each click released over it toggles the value
// between 0 and 1 and reports the new value. On means above 0.5.
class ESwitchButton final : public EComponent
{
public:
    ESwitchButton() = default;

    // Stores both images and takes the size of the first one.
    void setImages (juce::Image off, juce::Image on);

    void setCallback (UICallback* cb) override;
    void setValue (float v) override;
    void setValue (float v, bool repaintNow) override;
    float getValue() override;
    void setParamId (int id) override;
    int getParamId() override;

    void paint (juce::Graphics& g) override;
    void resized() override;
    void mouseDown (const juce::MouseEvent& e) override;
    void mouseUp (const juce::MouseEvent& e) override;

private:
    juce::Image offImage, onImage;
    int paramId = -1;
    float value = 0.0f;
    UICallback* callback = nullptr;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ESwitchButton)
};
