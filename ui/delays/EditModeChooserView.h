// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/delays/EditMode.h"
#include "ui/delays/EditModeChooserCallback.h"
#include "ui/controls/ESwitchButton.h"
#include "ui/controls/UICallback.h"

#include <juce_gui_basics/juce_gui_basics.h>

namespace nadrix
{
// Four switch buttons, two by two, kept as a radio group: exactly one edit
// mode is lit, and every click is reported, also a click on the lit button.
class EditModeChooserView final : public juce::Component,
                                  public UICallback
{
public:
    EditModeChooserView() = default;

    void setup (int x, int y, EditModeChooserCallback* callback);

    void valueChanged (EComponent* source, int paramId, float value) override;

    void paint (juce::Graphics& g) override;
    void resized() override;

    EditMode getMode() const noexcept { return mode; }
    ESwitchButton* buttonFor (EditMode editMode);

private:
    EditModeChooserCallback* callback = nullptr;
    ESwitchButton trashcanButton;
    ESwitchButton delayTimeButton;
    ESwitchButton feedbackButton;
    ESwitchButton highcutButton;
    EditMode mode = EditMode::DelayTime;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (EditModeChooserView)
};
} // namespace nadrix
