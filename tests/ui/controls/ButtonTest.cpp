// SPDX-License-Identifier: GPL-3.0-or-later
#include "EPushButton.h"
#include "ESwitchButton.h"
#include "../ControlTestKit.h"

#include <gtest/gtest.h>

namespace
{
    juce::Image solid (juce::Colour colour)
    {
        juce::Image image (juce::Image::ARGB, 20, 10, true);
        image.clear (image.getBounds(), colour);
        return image;
    }

    const juce::Colour first (0xFF102030), second (0xFFA0B0C0);
}

TEST (EPushButton, ClickCountsOnlyWhenReleasedOverTheButtonEdgesIncluded)
{
    EPushButton button;
    RecordingCallback calls;
    button.setTopLeftPosition (5, 7);
    button.setImages (solid (first), solid (second));
    button.setCallback (&calls);
    EXPECT_EQ (button.getBounds(), juce::Rectangle<int> (5, 7, 20, 10));

    button.mouseDown (mouseAt (button, 5, 5));
    EXPECT_EQ (painted (button).getPixelAt (3, 3), second); // pressed
    button.mouseDrag (mouseAt (button, 40, 5));             // dragged off: still pressed
    EXPECT_EQ (painted (button).getPixelAt (3, 3), second);
    button.mouseUp (mouseAt (button, 40, 5));
    EXPECT_EQ (painted (button).getPixelAt (3, 3), first);
    EXPECT_TRUE (calls.calls.empty());

    button.mouseDown (mouseAt (button, 5, 5));
    button.mouseUp (mouseAt (button, 20, 10)); // one past the last column and row
    EXPECT_EQ (calls.calls, std::vector<std::string> { "click" });

    button.mouseDown (mouseAt (button, 5, 5));
    button.mouseUp (mouseAt (button, 21, 5));
    EXPECT_EQ (calls.calls.size(), 1u);
}

TEST (ESwitchButton, ClickTogglesThenReportsAndOnMeansAboveOneHalf)
{
    ESwitchButton button;
    RecordingCallback calls;
    button.setImages (solid (first), solid (second));
    button.setCallback (&calls);

    button.setValue (0.7f);
    EXPECT_EQ (painted (button).getPixelAt (3, 3), second);
    button.mouseUp (mouseAt (button, 3, 3));
    EXPECT_EQ (calls.values, std::vector<float> { 0.0f });
    EXPECT_EQ (painted (button).getPixelAt (3, 3), first);

    button.setValue (0.5f);
    EXPECT_EQ (painted (button).getPixelAt (3, 3), first);
    button.mouseUp (mouseAt (button, 3, 3));
    EXPECT_EQ (button.getValue(), 1.0f);

    button.mouseUp (mouseAt (button, -1, 3)); // released outside: nothing
    EXPECT_EQ (button.getValue(), 1.0f);
    EXPECT_EQ (calls.values, (std::vector<float> { 0.0f, 1.0f }));

    button.setValue (std::nanf (""));
    EXPECT_EQ (painted (button).getPixelAt (3, 3), first);
    button.setValueForParamId (99, 1.0f); // pushed values never report
    EXPECT_EQ (calls.values.size(), 2u);
}
