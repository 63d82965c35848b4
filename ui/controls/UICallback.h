// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <juce_core/juce_core.h>

namespace nadrix
{
class EComponent;

// How a control reports what the user did: a changed value, a click, the
// start and end of a drag; and how it asks what a reset restores. The owner
// that implements it decides what each report means.
class UICallback
{
public:
    virtual ~UICallback() = default;

    virtual void valueChanged (EComponent* source, int paramId, float value) = 0;
    virtual void buttonClicked (EComponent*) {}
    virtual float defaultValueForParamId (int) { return 0.0f; }
    virtual void ui_beginGesture (EComponent*, int) {}
    virtual void ui_endGesture (EComponent*, int) {}

    // How a parameter reads in tooltips and to screen readers: its name
    // ("Mix") and a value in the reverb's units ("84.6 % wet").
    virtual juce::String parameterName (int) { return {}; }
    virtual juce::String valueText (int, float) { return {}; }

    // Radio-button numbering between a control and the signal side; unused
    // by the controls here, kept as the identity.
    virtual int remapRadioButtonIndexToDSP (int, int index) { return index; }
    virtual int remapRadioButtonIndexToUI (int, int index) { return index; }
};
} // namespace nadrix
