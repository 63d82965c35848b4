// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/delays/EditModeChooserView.h"

#include <optional>

namespace nadrix
{
void EditModeChooserView::setup (int x, int y, EditModeChooserCallback* cb)
{
    callback = cb;
    setBounds (x, y, 126, 126);

    struct Place
    {
        ESwitchButton& button;
        ScaledImage off, on;
        int x, y;
        const char* title;
        const char* tooltip;
    };

    const Place places[] = {
        { trashcanButton, ScaledImage::named ("btn_trashcan_up"),
          ScaledImage::named ("btn_trashcan_down"), 60, 0,
          "Delete", "Delete: click a line's dot to remove the line" },
        { delayTimeButton, ScaledImage::named ("btn_delaytime_up"),
          ScaledImage::named ("btn_delaytime_down"), 0, 0,
          "Delay time", "Delay time: drag a dot to set the line's pan, pre-delay and delay time" },
        { feedbackButton, ScaledImage::named ("btn_feedback_up"),
          ScaledImage::named ("btn_feedback_down"), 0, 60,
          "Feedback", "Feedback: drag a dot up or down to set the line's feedback and pre-delay gain" },
        { highcutButton, ScaledImage::named ("btn_highcut_up"),
          ScaledImage::named ("btn_highcut_down"), 60, 60,
          "High cut", "High cut: drag a dot up or down to set how much of the high band the line takes" },
    };

    for (const auto& place : places)
    {
        place.button.setExplicitFocusOrder (1 + place.x / 60 + place.y / 30); // Tab takes them row by row
        place.button.setCallback (this);
        place.button.setImages (place.off, place.on);
        place.button.setTopLeftPosition (place.x, place.y);
        place.button.setTitle (place.title);
        place.button.setTooltip (place.tooltip);
        addAndMakeVisible (place.button);
    }

    // The view starts in delay-time mode too, so nothing is reported.
    delayTimeButton.setValue (1.0f, true);
    repaint();
}

ESwitchButton* EditModeChooserView::buttonFor (EditMode editMode)
{
    switch (editMode)
    {
        case EditMode::Highcut: return &highcutButton;
        case EditMode::Trashcan: return &trashcanButton;
        case EditMode::DelayTime: return &delayTimeButton;
        case EditMode::Feedback: return &feedbackButton;
    }
    return nullptr;
}

void EditModeChooserView::valueChanged (EComponent* source, int, float)
{
    std::optional<EditMode> clicked;
    for (auto m : { EditMode::Highcut, EditMode::Trashcan, EditMode::DelayTime, EditMode::Feedback })
        if (source == buttonFor (m))
            clicked = m;

    if (clicked.has_value())
    {
        // The clicked button has toggled itself: the lit one must stay lit.
        if (mode == *clicked)
            buttonFor (*clicked)->setValue (1.0f);
        else
            mode = *clicked;

        for (auto* other : { &trashcanButton, &delayTimeButton, &feedbackButton, &highcutButton })
            if (other != source)
                other->setValue (0.0f, true);
    }

    if (callback != nullptr)
        callback->editModeChanged (mode);
}

void EditModeChooserView::paint (juce::Graphics&) {}
void EditModeChooserView::resized() {}
} // namespace nadrix
