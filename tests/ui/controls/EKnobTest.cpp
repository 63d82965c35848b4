// SPDX-License-Identifier: GPL-3.0-or-later
#include "EKnob.h"
#include "../ControlTestKit.h"

#include <gtest/gtest.h>

namespace
{
    struct Knob
    {
        EKnob knob;
        RecordingCallback calls;
        explicit Knob (float value)
        {
            knob.setBounds (0, 0, 90, 90);
            knob.setParamId (0);
            knob.setCallback (&calls);
            knob.setValue (value);
        }
        void dragBy (float dy)
        {
            knob.mouseDown (mouseAt (knob, 40, 40));
            knob.mouseDrag (mouseAt (knob, 40, 40 + dy));
            knob.mouseUp (mouseAt (knob, 40, 40 + dy));
        }
    };
}

TEST (EKnob, DragChangesByTheSquareOfTheDistanceWithAGestureAroundIt)
{
    Knob up (0.5f);
    up.dragBy (-10);
    EXPECT_EQ (up.calls.calls, (std::vector<std::string> { "begin 0", "value 0", "end 0" }));
    EXPECT_FLOAT_EQ (up.calls.values[0], 0.5441f);

    Knob down (0.5f);
    down.dragBy (10);
    EXPECT_FLOAT_EQ (down.calls.values[0], 0.4559f);

    Knob reversed (0.5f);
    reversed.knob.reversed = true;
    reversed.dragBy (-10);
    EXPECT_FLOAT_EQ (reversed.calls.values[0], 0.4559f);

    Knob still (0.3f);
    still.dragBy (0); // no movement: the same value is reported again
    EXPECT_EQ (still.calls.values, std::vector<float> { 0.3f });

    Knob top (0.99f);
    top.knob.mouseDown (mouseAt (top.knob, 40, 40));
    top.knob.mouseDrag (mouseAt (top.knob, 40, 0));
    top.knob.mouseDrag (mouseAt (top.knob, 40, -30));
    EXPECT_EQ (top.calls.values, (std::vector<float> { 1.0f, 1.0f }));
}

TEST (EKnob, SteppedKnobReportsTheNextStepUpButKeepsItsFineValue)
{
    Knob k (0.26f);
    k.knob.numSteps = 4;
    k.dragBy (-1);
    EXPECT_FLOAT_EQ (k.knob.getValue(), 0.2705f);
    EXPECT_EQ (k.calls.values[0], 0.5f);

    k.knob.mouseWheelMove (mouseAt (k.knob, 40, 40), wheel (0.05f));
    EXPECT_FLOAT_EQ (k.calls.values.back(), 0.2805f); // the wheel reports unrounded
}

TEST (EKnob, WheelAndDoubleClickReportWithoutGestures)
{
    Knob k (0.5f);
    k.knob.mouseWheelMove (mouseAt (k.knob, 40, 40), wheel (0.1f));
    EXPECT_FLOAT_EQ (k.calls.values.back(), 0.52f);

    k.knob.mouseDoubleClick (mouseAt (k.knob, 40, 40, 2));
    EXPECT_EQ (k.knob.getValue(), 0.0f); // the base default
    EXPECT_EQ (k.calls.values.back(), 0.0f);

    k.calls.overrideDefault = true;
    k.calls.defaultValue = 0.7f;
    k.knob.mouseDoubleClick (mouseAt (k.knob, 40, 40, 2));
    EXPECT_EQ (k.calls.values.back(), 0.7f);
    EXPECT_EQ (k.calls.calls, (std::vector<std::string> { "value 0", "default 0", "value 0", "default 0", "value 0" }));
}

TEST (EKnob, PushedValuesAreDrawnButNeverReported)
{
    Knob k (0.5f);
    k.knob.setValue (0.9f, false);
    k.knob.setValueForParamId (42, 1.5f); // stored as it comes, index ignored
    EXPECT_EQ (k.knob.getValueForParamId (7), 1.5f);
    EXPECT_TRUE (k.calls.calls.empty());
}

TEST (EKnob, ArcIsLitFromTheLowerLeftUpToTheValue)
{
    Knob k (0.5f);
    const juce::Colour lit (0xFF5DB576), track (0x51000000);

    // cx = cy = 45, arc radius 43.5, 3 pixels wide.
    auto image = painted (k.knob);
    EXPECT_EQ (image.getPixelAt (2, 45), lit);   // 9 o'clock: below the value
    EXPECT_EQ (image.getPixelAt (87, 45), track); // 3 o'clock: above it
    EXPECT_EQ (image.getPixelAt (45, 87).getAlpha(), 0); // the sweep is open at the bottom

    k.knob.setValue (1.0f);
    image = painted (k.knob);
    EXPECT_EQ (image.getPixelAt (87, 45), lit);
    EXPECT_EQ (image.getPixelAt (45, 1), lit);

    k.knob.setValue (0.0f);
    image = painted (k.knob);
    EXPECT_EQ (image.getPixelAt (2, 45), track);
    EXPECT_TRUE (sameColour (image.getPixelAt (47, 42), juce::Colour (0x4CFFFFFF))); // the centre dot, off the pointer
}
