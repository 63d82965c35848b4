// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/controls/UICallback.h"

#include <juce_gui_basics/juce_gui_basics.h>

namespace nadrix
{
// The base of every custom control: one value interface, so that an owner
// can push a parameter value into any control by index without knowing its
// kind. Values pushed in are drawn and never reported back; only user input
// produces reports, which keeps the editor's polling free of feedback loops.
class EComponent : public juce::Component
{
public:
    ~EComponent() override = default;

    virtual void setCallback (UICallback* callback) = 0;
    virtual void setValue (float value) = 0;
    virtual void setValue (float value, bool repaintNow) = 0;
    virtual float getValue() = 0;
    virtual void setParamId (int paramId) = 0;
    virtual int getParamId() = 0;

    // A control that edits several parameters routes these by index.
    virtual float getValueForParamId (int) { return getValue(); }
    virtual void setValueForParamId (int, float value) { setValue (value); }

    // What a screen reader gets for this control once the window is on
    // screen (JUCE asks for it only then, so tests ask here).
    std::unique_ptr<juce::AccessibilityHandler> makeAccessibilityHandler() { return createAccessibilityHandler(); }

protected:
    std::unique_ptr<juce::AccessibilityHandler> createAccessibilityHandler() override
    {
        return std::make_unique<juce::AccessibilityHandler> (*this, juce::AccessibilityRole::unspecified);
    }
};
} // namespace nadrix
