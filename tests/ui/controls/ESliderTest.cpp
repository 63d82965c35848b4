// SPDX-License-Identifier: GPL-3.0-or-later
#include "ESlider.h"
#include "../ControlTestKit.h"

#include <gtest/gtest.h>

namespace
{
    struct Slider
    {
        ESlider slider;
        RecordingCallback calls;
        Slider (float value, int width = 270, int height = 16)
        {
            slider.setBounds (0, 0, width, height);
            slider.setParamId (6);
            slider.setCallback (&calls);
            slider.setValue (value);
        }
    };
}

TEST (ESlider, DragsMove0004PerPixelAndIgnorePushesUntilRelease)
{
    Slider s (0.0f);
    s.slider.mouseDown (mouseAt (s.slider, 10, 8));
    s.slider.mouseDrag (mouseAt (s.slider, 135, 8));
    s.slider.setValue (0.9f); // the host pushes while the user drags: dropped
    s.slider.mouseDrag (mouseAt (s.slider, 260, 8));
    s.slider.mouseDrag (mouseAt (s.slider, 300, 8));
    s.slider.mouseDrag (mouseAt (s.slider, 300, 0)); // vertical movement does nothing
    s.slider.mouseUp (mouseAt (s.slider, 300, 0));

    EXPECT_EQ (s.calls.calls.front(), "begin 6");
    EXPECT_EQ (s.calls.calls.back(), "end 6");
    ASSERT_EQ (s.calls.values.size(), 4u);
    EXPECT_FLOAT_EQ (s.calls.values[0], 0.5f);
    EXPECT_EQ (s.calls.values[1], 1.0f);
    EXPECT_EQ (s.calls.values[2], 1.0f);
    EXPECT_EQ (s.calls.values[3], 1.0f);

    s.slider.setValue (0.25f); // after the release pushes apply again
    EXPECT_EQ (s.slider.getValue(), 0.25f);
    s.slider.setValue (0.25f);
    EXPECT_EQ (s.slider.getValue(), 0.25f);
}

TEST (ESlider, SteppedSliderRoundsDownAndIgnoresTheEchoOfItsOwnReport)
{
    Slider s (0.3f);
    s.slider.numSteps = 4;
    s.slider.mouseWheelMove (mouseAt (s.slider, 10, 8), wheel (0.05f));
    EXPECT_FLOAT_EQ (s.slider.getValue(), 0.31f);
    EXPECT_EQ (s.calls.values.back(), 0.25f);

    s.slider.setValue (0.25f); // the echo: ignored
    EXPECT_FLOAT_EQ (s.slider.getValue(), 0.31f);
    s.slider.setValue (0.5f);
    EXPECT_EQ (s.slider.getValue(), 0.5f);

    s.slider.mouseDown (mouseAt (s.slider, 0, 8));
    s.slider.mouseDrag (mouseAt (s.slider, 60, 8)); // 0.5 + 0.24
    EXPECT_EQ (s.calls.values.back(), 0.5f);
    EXPECT_TRUE (std::find (s.calls.calls.begin(), s.calls.calls.end(), "begin 6") != s.calls.calls.end());
}

TEST (ESlider, DoubleClickResetsOnlyWithACallback)
{
    Slider s (0.6f);
    s.slider.mouseDoubleClick (mouseAt (s.slider, 10, 8, 2));
    EXPECT_EQ (s.slider.getValue(), 0.0f);
    EXPECT_EQ (s.calls.values.back(), 0.0f);

    ESlider plain;
    plain.setBounds (0, 0, 130, 15);
    plain.setValue (0.6f);
    plain.mouseDoubleClick (mouseAt (plain, 10, 8, 2));
    EXPECT_EQ (plain.getValue(), 0.6f);
}

TEST (ESlider, DotTravelsBetweenHalfHeightInsetsAndTheLineLeavesItAGap)
{
    Slider s (0.0f);
    s.slider.style = 1;
    const juce::Colour dot (0x99FFFFFF), line (0x33FFFFFF);

    auto image = painted (s.slider);
    EXPECT_TRUE (sameColour (image.getPixelAt (8, 8), dot)); // dot centre at x = half = 8
    EXPECT_EQ (image.getPixelAt (1, 8).getAlpha(), 0);       // no left piece at 0
    EXPECT_EQ (image.getPixelAt (13, 8).getAlpha(), 0);      // the gap right of the dot
    // A one-pixel line on y = 8 covers half of rows 7 and 8.
    auto lineAlpha = [&image] (int x) { return image.getPixelAt (x, 7).getAlpha() + image.getPixelAt (x, 8).getAlpha(); };
    EXPECT_NEAR (lineAlpha (100), line.getAlpha(), 2);
    EXPECT_NEAR (lineAlpha (269), line.getAlpha(), 2);

    s.slider.setValue (1.0f);
    image = painted (s.slider);
    EXPECT_TRUE (sameColour (image.getPixelAt (262, 8), dot)); // x = 270 - 8
    EXPECT_NEAR (lineAlpha (100), line.getAlpha(), 2);
    EXPECT_EQ (image.getPixelAt (256, 8).getAlpha(), 0); // the gap left of the dot
}

TEST (ESlider, FramedBarFillsTheValueShareInsideItsFrame)
{
    ESlider s;
    s.setBounds (0, 0, 130, 15);
    s.style = 2;
    s.setValue (0.5f);
    const auto image = painted (s);
    EXPECT_TRUE (sameColour (image.getPixelAt (30, 7), juce::Colour (0x4CFFFFFF))); // inside the bar
    EXPECT_EQ (image.getPixelAt (100, 7).getAlpha(), 0);              // beyond it
    EXPECT_NEAR (image.getPixelAt (65, 0).getAlpha() + image.getPixelAt (65, 1).getAlpha(), 0xB3, 8); // the frame's top edge
}
