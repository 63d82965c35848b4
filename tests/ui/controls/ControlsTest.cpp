// SPDX-License-Identifier: GPL-3.0-or-later
// What each control reports for what the user does with it. How they look is
// checked by the window picture.
#include "ui/controls/ControlKeys.h"
#include "ui/controls/EEQ.h"
#include "ui/controls/EKnob.h"
#include "ui/controls/EPushButton.h"
#include "ui/controls/ESlider.h"
#include "tests/ui/ControlTestKit.h"
#include "tests/ui/Contrast.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace nadrix
{
namespace
{
    template <typename Control>
    struct Rig
    {
        Control control;
        RecordingCallback calls;

        Rig (float value, int paramId, int width, int height)
        {
            control.setBounds (0, 0, width, height);
            control.setParamId (paramId);
            control.setCallback (&calls);
            control.setValue (value);
        }

        void drag (juce::Point<float> from, std::initializer_list<juce::Point<float>> to)
        {
            control.mouseDown (mouseAt (control, from.x, from.y));
            for (auto p : to)
                control.mouseDrag (mouseAt (control, p.x, p.y));
            control.mouseUp (mouseAt (control, to.end()[-1].x, to.end()[-1].y));
        }
    };

    using Knob = Rig<EKnob>;
    using Slider = Rig<ESlider>;

    juce::Image solid (juce::Colour colour)
    {
        juce::Image image (juce::Image::ARGB, 20, 10, true);
        image.clear (image.getBounds(), colour);
        return image;
    }
}

TEST (EKnob, DragsChangeByTheSquareOfTheDistanceInsideOneGesture)
{
    struct Case { float start; float dy; bool reversed; std::vector<float> reported; };
    const Case cases[] = {
        { 0.5f, -10.0f, false, { 0.5441f } },   // 10 px up: + 0.021^2 * 100
        { 0.5f, 10.0f, false, { 0.4559f } },
        { 0.5f, -10.0f, true, { 0.4559f } },    // reversed swaps the directions
        { 0.3f, 0.0f, false, { 0.3f } },        // no movement: the same value again
        { 0.99f, -40.0f, false, { 1.0f } },     // clamped
    };
    for (const auto& c : cases)
    {
        Knob k (c.start, 0, 90, 90);
        k.control.reversed = c.reversed;
        k.drag ({ 40, 40 }, { { 40, 40 + c.dy } });
        EXPECT_EQ (k.calls.calls, (std::vector<std::string> { "begin 0", "value 0", "end 0" }));
        ASSERT_EQ (k.calls.values.size(), 1u);
        EXPECT_FLOAT_EQ (k.calls.values[0], c.reported[0]) << c.start << " " << c.dy;
    }

    Knob stepped (0.26f, 0, 90, 90);
    stepped.control.numSteps = 4;
    stepped.drag ({ 40, 40 }, { { 40, 39 } });
    EXPECT_FLOAT_EQ (stepped.control.getValue(), 0.2705f); // keeps its fine value
    EXPECT_EQ (stepped.calls.values[0], 0.5f);              // reports the next step up
    stepped.control.mouseWheelMove (mouseAt (stepped.control, 40, 40), wheel (0.05f));
    EXPECT_FLOAT_EQ (stepped.calls.values.back(), 0.2805f); // the wheel reports unrounded
}

TEST (EKnob, WheelAndDoubleClickReportWithoutGesturesAndPushedValuesNever)
{
    Knob k (0.5f, 0, 90, 90);
    k.control.mouseWheelMove (mouseAt (k.control, 40, 40), wheel (0.1f));
    EXPECT_FLOAT_EQ (k.calls.values.back(), 0.52f);
    k.control.mouseDoubleClick (mouseAt (k.control, 40, 40, 2));
    EXPECT_EQ (k.calls.values.back(), 0.0f); // the callback's default
    k.calls.overrideDefault = true;
    k.calls.defaultValue = 0.7f;
    k.control.mouseDoubleClick (mouseAt (k.control, 40, 40, 2));
    EXPECT_EQ (k.control.getValue(), 0.7f);
    EXPECT_EQ (k.calls.calls, (std::vector<std::string> { "value 0", "default 0", "value 0", "default 0", "value 0" }));
}

TEST (ESlider, DragsMove0004PerPixelAndTheDragWinsOverPushedValues)
{
    Slider s (0.0f, 6, 270, 16);
    s.control.mouseDown (mouseAt (s.control, 10, 8));
    s.control.mouseDrag (mouseAt (s.control, 135, 8));
    s.control.setValue (0.9f); // the host pushes while the user drags: dropped
    s.control.mouseDrag (mouseAt (s.control, 300, 8));
    s.control.mouseDrag (mouseAt (s.control, 300, 0)); // vertical movement does nothing
    s.control.mouseUp (mouseAt (s.control, 300, 0));
    EXPECT_EQ (s.calls.calls.front(), "begin 6");
    EXPECT_EQ (s.calls.calls.back(), "end 6");
    EXPECT_FLOAT_EQ (s.calls.values[0], 0.5f);
    EXPECT_EQ (s.calls.values[1], 1.0f);
    EXPECT_EQ (s.calls.values[2], 1.0f);
    s.control.setValue (0.25f); // after the release, pushes apply again
    EXPECT_EQ (s.control.getValue(), 0.25f);

    Slider stepped (0.3f, 6, 270, 16);
    stepped.control.numSteps = 4;
    stepped.control.mouseWheelMove (mouseAt (stepped.control, 10, 8), wheel (0.05f));
    EXPECT_FLOAT_EQ (stepped.control.getValue(), 0.31f);
    EXPECT_EQ (stepped.calls.values.back(), 0.25f); // rounded down
    stepped.control.setValue (0.25f);                // the echo of its own report: ignored
    EXPECT_FLOAT_EQ (stepped.control.getValue(), 0.31f);

    ESlider plain; // no callback: a double-click changes nothing
    plain.setBounds (0, 0, 130, 15);
    plain.setValue (0.6f);
    plain.mouseDoubleClick (mouseAt (plain, 10, 8, 2));
    EXPECT_EQ (plain.getValue(), 0.6f);
}

TEST (Buttons, ClicksCountOnlyWhenReleasedOverTheButton)
{
    const juce::Colour up (0xFF102030), down (0xFFA0B0C0);
    EPushButton push;
    RecordingCallback pushed;
    push.setImages (solid (up), solid (down));
    push.setCallback (&pushed);
    EXPECT_EQ (push.getBounds().getWidth(), 20); // sized by its image

    push.mouseDown (mouseAt (push, 5, 5));
    EXPECT_EQ (painted (push).getPixelAt (3, 3), down);
    push.mouseUp (mouseAt (push, 40, 5)); // dragged off before the release: no click
    EXPECT_EQ (painted (push).getPixelAt (3, 3), up);
    push.mouseDown (mouseAt (push, 5, 5));
    push.mouseUp (mouseAt (push, 20, 10)); // one past the last column and row still counts
    EXPECT_EQ (pushed.calls, std::vector<std::string> { "click" });
}

TEST (EEQ, PressesPickASplitOrABandAndDragsKeepTheLimits)
{
    struct Eq : Rig<EEQ>
    {
        Eq (float low, float mid) : Rig<EEQ> (0.0f, 0, 325, 111)
        {
            control.lowSplitParamId = 1;
            control.midSplitParamId = 2;
            control.lowGainParamId = 3;
            control.midGainParamId = 4;
            control.highGainParamId = 5;
            control.lowSplit = low;
            control.midSplit = mid;
            control.lowGain = control.midGain = control.highGain = 1.0f;
        }
    };

    // Splits at x 97.5 and 113.75, reach 16.25: a press at 105 takes the low one.
    const std::vector<std::tuple<float, float, float, float, std::vector<std::string>>> presses = {
        { 0.3f, 0.35f, 105, 50, { "begin -1", "value 1", "end -1" } },
        { 0.2f, 0.8f, 162, 40, { "begin -1", "value 2", "value 1", "value 4", "end -1" } }, // the middle band: both splits and its gain
        { 0.4f, 0.8f, 20, 40, { "begin -1", "value 3", "end -1" } },
        { 0.2f, 0.5f, 300, 40, { "begin -1", "value 5", "end -1" } },
    };
    for (const auto& [low, mid, x, y, expected] : presses)
    {
        Eq e (low, mid);
        e.drag ({ x, 50 }, { { x + 5, y } });
        EXPECT_EQ (e.calls.calls, expected) << x;
    }

    Eq e (0.3f, 0.5f);
    e.drag ({ 97, 50 }, { { 400, 50 } }); // the low split stops 0.1 below the mid split
    EXPECT_FLOAT_EQ (e.control.lowSplit, 0.4f);
    e.drag ({ 130, 50 }, { { -300, 50 } }); // and at 0.1
    EXPECT_FLOAT_EQ (e.control.lowSplit, 0.1f);
    e.drag ({ 65, 50 }, { { 900, 50 } }); // the mid split stops at 0.9
    EXPECT_FLOAT_EQ (e.control.midSplit, 0.9f);

    Eq band (0.4f, 0.6f); // the middle band keeps its width at both ends
    band.drag ({ 162, 50 }, { { -400, 50 } });
    EXPECT_FLOAT_EQ (band.control.lowSplit, 0.1f);
    EXPECT_NEAR (band.control.midSplit, 0.3f, 1e-6f);

    Eq gain (0.4f, 0.6f); // a gain dragged past its end is reported there again
    gain.drag ({ 20, 100 }, { { 20, -200 }, { 20, -300 } });
    EXPECT_EQ (gain.calls.values, (std::vector<float> { 1.0f, 1.0f }));
}

TEST (ControlKeys, TheFocusRingContrastsBy3To1WithWhateverLiesUnderIt)
{
    for (const auto under : { juce::Colours::white, juce::Colours::black, juce::Colour (0xff808080), juce::Colour (0xff2a3d52), juce::Colour (0xffd9c7a0) })
    {
        juce::Image picture (juce::Image::ARGB, 60, 40, true);
        {
            juce::Graphics g (picture);
            g.fillAll (under);
            ControlKeys::paintFocusRing (g, { 0.0f, 0.0f, 60.0f, 40.0f });
        }
        // Along the ring's left side, halfway down: its best pixel.
        double best = 1.0;
        for (int x = 0; x < 6; ++x)
            best = std::max (best, contrast (picture.getPixelAt (x, 20), under));
        EXPECT_GE (best, 3.0) << under.toDisplayString (false);
    }
}
} // namespace nadrix
