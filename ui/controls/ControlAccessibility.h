// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <functional>

namespace nadrix
{
// What screen readers are told of a control: its role, its name (the
// component's title) and, for a value, the value as the window shows it.
namespace ControlAccessibility
{
    struct Value
    {
        std::function<float()> get;
        std::function<void (float)> set;           // as the user's own edit
        std::function<juce::String()> text;        // "84.6 % wet"
    };
    std::unique_ptr<juce::AccessibilityHandler> forValue (juce::Component& control, Value value);

    // A button: pressing it through a screen reader clicks it.
    std::unique_ptr<juce::AccessibilityHandler> forButton (juce::Component& control, std::function<void()> press, bool isToggle,
                                                           std::function<bool()> isOn);
}
} // namespace nadrix
