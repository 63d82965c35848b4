// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/controls/EComponent.h"

namespace nadrix
{
// A control that carries one value for one parameter and reports to one
// callback: the knob, the slider and the two buttons. Values set here are
// stored as they come, drawn, and never reported. It takes the keyboard
// focus, shows its value in a tooltip and tells screen readers its name and
// value.
class EValueControl : public EComponent, public juce::TooltipClient
{
public:
    void setCallback (UICallback* cb) override;
    void setValue (float v) override;
    void setValue (float v, bool repaintNow) override;
    float getValue() override;
    void setParamId (int id) override;
    int getParamId() override;

    // A fixed tooltip (buttons); without one the tooltip is describe().
    void setTooltip (const juce::String& text) { tooltip = text; }
    juce::String getTooltip() override;

    // "Mix: 84.6 % wet": the parameter's name and value as the callback gives
    // them, or for a control without a parameter its title and a percentage.
    juce::String describe() const;
    juce::String valueText() const;

protected:
    EValueControl();

    // The user's own edit from the keyboard or a screen reader: one gesture.
    void changeByUser (float newValue);

    // What the knob and the slider share. A press opens the user's gesture
    // and the release closes it; the drags between are reported by each.
    void beginDragGesture();
    void endDragGesture();
    // A double-click: the parameter's default, set and reported (no gesture).
    void resetToDefault();
    // Where a wheel move takes the value: 0.2 of the range per unit of the
    // wheel, up with the wheel unless reversed, within 0..1.
    float valueAfterWheel (const juce::MouseWheelDetails& wheel, bool reversed) const;
    // The arrow, page and Home/End keys step the value (ControlKeys).
    bool keyPressed (const juce::KeyPress& key) override;
    virtual int keySteps() const { return 0; }
    void focusGained (FocusChangeType) override { repaint(); }
    void focusLost (FocusChangeType) override { repaint(); }
    void paintFocusRing (juce::Graphics& g) const;
    std::unique_ptr<juce::AccessibilityHandler> createAccessibilityHandler() override;

    juce::String tooltip;
    int paramId = -1;
    float value = 0.0f;
    UICallback* callback = nullptr;
};
} // namespace nadrix
