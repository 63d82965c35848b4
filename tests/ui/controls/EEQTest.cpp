// SPDX-License-Identifier: GPL-3.0-or-later
#include "EEQ.h"
#include "../ControlTestKit.h"

#include <gtest/gtest.h>

namespace
{
    struct Eq
    {
        EEQ eq;
        RecordingCallback calls;
        Eq (float low, float mid)
        {
            eq.setBounds (0, 0, 325, 111);
            eq.lowSplitParamId = 1;
            eq.midSplitParamId = 2;
            eq.lowGainParamId = 3;
            eq.midGainParamId = 4;
            eq.highGainParamId = 5;
            eq.lowSplit = low;
            eq.midSplit = mid;
            eq.lowGain = eq.midGain = eq.highGain = 1.0f;
            eq.callback = &calls;
        }
        void drag (float fromX, float fromY, float toX, float toY)
        {
            eq.mouseDown (mouseAt (eq, fromX, fromY));
            eq.mouseDrag (mouseAt (eq, toX, toY));
            eq.mouseUp (mouseAt (eq, toX, toY));
        }
    };
}

TEST (EEQ, PressPicksTheNearestSplitLowFirstElseTheBandUnderThePointer)
{
    // Splits at x 97.5 and 113.75, tolerance 16.25: a press at 105 is near both.
    Eq near (0.3f, 0.35f);
    near.drag (105, 50, 110, 50);
    EXPECT_EQ (near.calls.calls, (std::vector<std::string> { "begin -1", "value 1", "end -1" })); // one press, one gesture

    Eq between (0.2f, 0.8f);
    between.drag (162, 50, 162, 40); // middle band: mid split, low split, middle gain
    EXPECT_EQ (between.calls.calls, (std::vector<std::string> { "begin -1", "value 2", "value 1", "value 4", "end -1" }));
    EXPECT_FLOAT_EQ (between.calls.values[2], (1.0f + 0.07f) * 0.5f);

    Eq low (0.4f, 0.8f);
    low.drag (20, 50, 20, 40);
    EXPECT_EQ (low.calls.calls[1], "value 3");
    Eq high (0.2f, 0.5f);
    high.drag (300, 50, 300, 60);
    EXPECT_EQ (high.calls.calls[1], "value 5");
}

TEST (EEQ, SplitsKeepTheirDistanceAndLimits)
{
    Eq e (0.3f, 0.5f);
    e.drag (97, 50, 400, 50); // low split right: stops 0.1 below the mid split
    EXPECT_FLOAT_EQ (e.eq.lowSplit, 0.4f);
    e.drag (130, 50, -300, 50); // and left: stops at 0.1
    EXPECT_FLOAT_EQ (e.eq.lowSplit, 0.1f);

    e.drag (162, 50, -300, 50); // mid split left: 0.1 above the low split
    EXPECT_FLOAT_EQ (e.eq.midSplit, 0.2f);
    e.drag (65, 50, 900, 50); // right: 0.9
    EXPECT_FLOAT_EQ (e.eq.midSplit, 0.9f);

    Eq narrow (0.12f, 0.15f); // a mid split below 0.2 still lets the low split stop at 0.1
    narrow.drag (39, 50, 0, 50);
    EXPECT_FLOAT_EQ (narrow.eq.lowSplit, 0.1f);
}

TEST (EEQ, MiddleBandKeepsItsWidthAtBothEndsAndGainsClamp)
{
    Eq e (0.4f, 0.6f);
    e.drag (162, 50, -400, 50);
    EXPECT_FLOAT_EQ (e.eq.lowSplit, 0.1f);
    EXPECT_NEAR (e.eq.midSplit, 0.3f, 1e-6f);
    e.drag (65, 50, 900, 50);
    EXPECT_FLOAT_EQ (e.eq.midSplit, 0.9f);
    EXPECT_NEAR (e.eq.lowSplit, 0.7f, 1e-6f);

    Eq g (0.4f, 0.6f);
    g.eq.mouseDown (mouseAt (g.eq, 20, 100));
    g.eq.mouseDrag (mouseAt (g.eq, 20, -200));
    g.eq.mouseDrag (mouseAt (g.eq, 20, -300));
    EXPECT_EQ (g.calls.values, (std::vector<float> { 1.0f, 1.0f }));
}

TEST (EEQ, ValuesGoInAndOutByIndex)
{
    Eq e (0.3f, 0.5f);
    e.eq.setValueForParamId (4, 0.25f);
    EXPECT_EQ (e.eq.midGain, 0.5f);
    EXPECT_EQ (e.eq.getValueForParamId (4), 0.25f);
    e.eq.setValueForParamId (99, 0.7f);
    EXPECT_EQ (e.eq.getValueForParamId (99), 0.0f);
    EXPECT_EQ (e.eq.getValue(), 0.0f);

    e.eq.highGainParamId = 4; // two members on one index: both set, the first in order answers
    e.eq.setValueForParamId (4, 0.75f);
    EXPECT_EQ (e.eq.highGain, 1.5f);
    EXPECT_EQ (e.eq.midGain, 1.5f);
    EXPECT_TRUE (e.calls.calls.empty());
}

TEST (EEQ, BandLevelsAreDrawnOnTheGainScale)
{
    Eq e (0.3f, 0.7f);
    e.eq.lowGain = 0.0f;  // level 0.94 H = 104.34
    e.eq.midGain = 1.0f;  // level H / 2 = 55.5
    e.eq.highGain = 2.0f; // level 0.06 H = 6.66
    const auto image = painted (e.eq);
    const juce::Colour fill (0x66FFFFFF);

    EXPECT_EQ (image.getPixelAt (40, 103).getAlpha(), 0);
    EXPECT_TRUE (sameColour (image.getPixelAt (40, 106), fill));
    EXPECT_EQ (image.getPixelAt (162, 54).getAlpha(), 0);
    EXPECT_TRUE (sameColour (image.getPixelAt (162, 60), fill));
    EXPECT_EQ (image.getPixelAt (300, 5).getAlpha(), 0);
    EXPECT_TRUE (sameColour (image.getPixelAt (300, 9), fill));
}
