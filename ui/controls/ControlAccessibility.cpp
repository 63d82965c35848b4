// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/controls/ControlAccessibility.h"

#include "ui/controls/ControlKeys.h"
#include "processor/DecimalNumber.h"

#include <cmath>

namespace nadrix
{
namespace
{
    // A value 0..1 that reads as the window shows it ("84.6 % wet").
    class ValueInterface final : public juce::AccessibilityValueInterface
    {
    public:
        explicit ValueInterface (ControlAccessibility::Value v) : value (std::move (v)) {}

        bool isReadOnly() const override { return false; }
        double getCurrentValue() const override { return value.get(); }
        void setValue (double newValue) override { value.set ((float) newValue); }
        juce::String getCurrentValueAsString() const override { return value.text(); }
        void setValueAsString (const juce::String& text) override
        {
            const char* end = nullptr;
            if (const auto number = readDecimalNumber (text.trim().toRawUTF8(), &end); number.has_value() && std::isfinite (*number))
                setValue (*number);
        }
        AccessibleValueRange getRange() const override { return { { 0.0, 1.0 }, ControlKeys::smallStep }; }

    private:
        ControlAccessibility::Value value;
    };
}

std::unique_ptr<juce::AccessibilityHandler> ControlAccessibility::forValue (juce::Component& control, Value value)
{
    return std::make_unique<juce::AccessibilityHandler> (control, juce::AccessibilityRole::slider, juce::AccessibilityActions(),
                                                         juce::AccessibilityHandler::Interfaces { std::make_unique<ValueInterface> (std::move (value)) });
}

std::unique_ptr<juce::AccessibilityHandler> ControlAccessibility::forButton (juce::Component& control, std::function<void()> press, bool isToggle,
                                                                             std::function<bool()> isOn)
{
    struct ButtonHandler final : juce::AccessibilityHandler
    {
        ButtonHandler (juce::Component& c, std::function<void()> p, bool toggle, std::function<bool()> on)
            : juce::AccessibilityHandler (c, toggle ? juce::AccessibilityRole::toggleButton : juce::AccessibilityRole::button,
                                          juce::AccessibilityActions().addAction (juce::AccessibilityActionType::press, std::move (p))),
              state (std::move (on)), isToggle (toggle)
        {
        }

        juce::AccessibleState getCurrentState() const override
        {
            auto s = juce::AccessibilityHandler::getCurrentState();
            if (isToggle)
                s = s.withCheckable();
            return isToggle && state && state() ? s.withChecked() : s;
        }

        std::function<bool()> state;
        bool isToggle;
    };
    return std::make_unique<ButtonHandler> (control, std::move (press), isToggle, std::move (isOn));
}
} // namespace nadrix
