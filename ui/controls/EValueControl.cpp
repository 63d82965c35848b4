// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/controls/EValueControl.h"

#include "ui/controls/ControlAccessibility.h"
#include "ui/controls/ControlKeys.h"

#include <algorithm>

namespace nadrix
{
EValueControl::EValueControl()
{
    setWantsKeyboardFocus (true);
}

void EValueControl::setCallback (UICallback* cb) { callback = cb; }
void EValueControl::setValue (float v) { setValue (v, true); }

void EValueControl::setValue (float v, bool repaintNow)
{
    value = v;
    if (repaintNow)
        repaint();
}

float EValueControl::getValue() { return value; }
void EValueControl::setParamId (int id) { paramId = id; }
int EValueControl::getParamId() { return paramId; }

juce::String EValueControl::getTooltip()
{
    return tooltip.isNotEmpty() ? tooltip : describe();
}

juce::String EValueControl::valueText() const
{
    if (callback != nullptr && paramId >= 0)
        return callback->valueText (paramId, value);
    return juce::String (juce::roundToInt (value * 100.0f)) + " %";
}

juce::String EValueControl::describe() const
{
    const auto name = callback != nullptr && paramId >= 0 ? callback->parameterName (paramId) : getTitle();
    return name + ": " + valueText();
}

void EValueControl::changeByUser (float newValue)
{
    if (callback != nullptr)
        callback->ui_beginGesture (this, paramId);
    value = newValue;
    if (callback != nullptr)
    {
        callback->valueChanged (this, paramId, value);
        callback->ui_endGesture (this, paramId);
    }
    repaint();
}

void EValueControl::beginDragGesture()
{
    if (callback != nullptr)
        callback->ui_beginGesture (this, paramId);
}

void EValueControl::endDragGesture()
{
    if (callback != nullptr)
        callback->ui_endGesture (this, paramId);
}

void EValueControl::resetToDefault()
{
    if (callback == nullptr)
        return;

    setValue (callback->defaultValueForParamId (paramId), true);
    callback->valueChanged (this, paramId, value);
}

float EValueControl::valueAfterWheel (const juce::MouseWheelDetails& wheel, bool reversed) const
{
    double delta = (double) wheel.deltaY * 0.2;
    if (reversed)
        delta = -delta;
    return std::min (1.0f, std::max (0.0f, (float) ((double) value + delta)));
}

bool EValueControl::keyPressed (const juce::KeyPress& key)
{
    const auto next = ControlKeys::stepped (key, value, keySteps());
    if (! next.has_value())
        return false;
    if (*next != value)
        changeByUser (*next);
    return true;
}

void EValueControl::paintFocusRing (juce::Graphics& g) const
{
    if (hasKeyboardFocus (false))
        ControlKeys::paintFocusRing (g, getLocalBounds().toFloat());
}

std::unique_ptr<juce::AccessibilityHandler> EValueControl::createAccessibilityHandler()
{
    return ControlAccessibility::forValue (*this, { [this] { return value; }, [this] (float v) { changeByUser (juce::jlimit (0.0f, 1.0f, v)); },
                                                    [this] { return valueText(); } });
}
} // namespace nadrix
