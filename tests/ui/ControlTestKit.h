// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/controls/EComponent.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <string>
#include <vector>

namespace nadrix
{
// Records every report a control makes, as short lines:
// "begin 6", "value 6 0.5441", "end 6", "click".
struct RecordingCallback : UICallback
{
    std::vector<std::string> calls;
    std::vector<float> values;
    float defaultValue = 0.0f;
    bool overrideDefault = false;

    void valueChanged (EComponent*, int paramId, float value) override
    {
        calls.push_back ("value " + std::to_string (paramId));
        values.push_back (value);
    }
    void buttonClicked (EComponent*) override { calls.push_back ("click"); }
    void ui_beginGesture (EComponent*, int paramId) override { calls.push_back ("begin " + std::to_string (paramId)); }
    void ui_endGesture (EComponent*, int paramId) override { calls.push_back ("end " + std::to_string (paramId)); }
    float defaultValueForParamId (int paramId) override
    {
        calls.push_back ("default " + std::to_string (paramId));
        return overrideDefault ? defaultValue : UICallback::defaultValueForParamId (paramId);
    }
};

// A mouse event at (x, y) in the component's own coordinates.
inline juce::MouseEvent mouseAt (juce::Component& c, float x, float y, int clicks = 1)
{
    const auto now = juce::Time::getCurrentTime();
    return juce::MouseEvent (juce::Desktop::getInstance().getMainMouseSource(), { x, y }, {}, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f,
                             &c, &c, now, { x, y }, now, clicks, false);
}

inline juce::MouseWheelDetails wheel (float deltaY)
{
    juce::MouseWheelDetails w;
    w.deltaX = 0.0f;
    w.deltaY = deltaY;
    w.isReversed = false;
    w.isSmooth = false;
    w.isInertial = false;
    return w;
}

// Paints a component (only itself, not its children) into a fresh,
// transparent image of its size.
inline juce::Image painted (juce::Component& c)
{
    juce::Image image (juce::Image::ARGB, c.getWidth(), c.getHeight(), true);
    juce::Graphics g (image);
    c.paint (g);
    return image;
}
} // namespace nadrix
