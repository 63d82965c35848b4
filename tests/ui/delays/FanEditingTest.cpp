// SPDX-License-Identifier: GPL-3.0-or-later
// The fan's editing rules, called directly: no Component, no mouse events.
#include "ui/delays/FanEditing.h"
#include "tests/ui/delays/EngineBackedCallback.h"

#include <gtest/gtest.h>

namespace nadrix
{
namespace
{
    struct Fan
    {
        EngineBackedCallback cb;
        FanGeometry geometry { 810.0f, 420.0f, 1.4f };

        Fan() { cb.switchAllOff(); }

        std::vector<NadrixViewdata> all;
        // The lines as they are now, as FanEditing takes them.
        const NadrixViewdata* lines() { all = cb.lines(); return all.data(); }

        juce::Point<float> dot (int line, bool delayDot) const
        {
            const auto l = geometry.line (cb.line (line));
            return delayDot ? l.delayPoint : l.predelayPoint;
        }

        // Drags a held dot from where it is (to the pixel, as a mouse gives
        // it), in equal pointer steps.
        void drag (NadrixDelayMoveData held, EditMode mode, juce::Point<float> step, int steps)
        {
            auto p = dot (held.lineIndex, held.moveDelayPoint).roundToInt().toFloat();
            for (int i = 0; i < steps; ++i, p += step)
                FanEditing::drag (geometry, lines(), { held }, mode, p, p + step, cb);
        }
    };
}

TEST (FanEditing, APressTakesTheNearestDotThenTheDelayDotThenTheLowerLine)
{
    Fan f;
    f.cb.setLine (3, 0.0f, 0.1f, 0.1f); // lines 3 and 7 lie on each other
    f.cb.setLine (7, 0.0f, 0.1f, 0.1f);
    auto hit = FanEditing::dotAt (f.geometry, f.lines(), f.dot (3, true) + juce::Point<float> (2, 0));
    ASSERT_TRUE (hit.has_value());
    EXPECT_EQ (hit->lineIndex, 3);
    EXPECT_TRUE (hit->moveDelayPoint && ! hit->movePredelayPoint);

    // A record with no delay time puts both dots of a line on one spot (the
    // engine never realises less than a sample): the delay dot wins.
    NadrixViewdata records[ParameterLayout::numLines];
    records[2].active = 1.0f;
    records[2].predelay = 0.2f;
    records[2].feedback = records[2].predelayGain = 0.5f;
    hit = FanEditing::dotAt (f.geometry, records, f.geometry.line (records[2]).predelayPoint);
    EXPECT_TRUE (hit.has_value() && hit->lineIndex == 2 && hit->moveDelayPoint);

    // Otherwise the nearer dot, within its catch radius only.
    f.cb.setLine (1, 0.6f, 0.1f, 0.02f, 0.9f, 0.9f);
    const auto between = f.dot (1, false) + (f.dot (1, true) - f.dot (1, false)) * 0.3f;
    hit = FanEditing::dotAt (f.geometry, f.lines(), between);
    EXPECT_TRUE (hit.has_value() && hit->lineIndex == 1 && hit->movePredelayPoint);
    EXPECT_FALSE (FanEditing::dotAt (f.geometry, f.lines(), { 405.0f, 400.0f }).has_value());
}

TEST (FanEditing, DragsKeepEveryValueWithinItsLimits)
{
    Fan f;
    // Outwards, the pre-delay gives way at 0.58 s together; inwards it stops at 1 ms.
    f.cb.setLine (0, 0.0f, 0.05f, 0.5f);
    f.drag ({ 0, false, true }, EditMode::DelayTime, { 0.0f, 2.0f }, 40);
    EXPECT_NEAR (f.cb.lastWritten ("predelay", 0) + f.cb.line (0).delayTime, 0.58f, 1e-5f);
    EXPECT_LE (f.cb.lastWritten ("predelay", 0) + f.cb.line (0).delayTime, 0.58f + 1e-6f);
    f.cb.setLine (5, 0.0f, 0.02f, 0.2f);
    f.drag ({ 5, false, true }, EditMode::DelayTime, { 0.0f, -2.0f }, 32); // to the circle's edge
    EXPECT_EQ (f.cb.lastWritten ("predelay", 5), 0.001f);

    // Moving right raises the pan.
    f.drag ({ 0, true, false }, EditMode::DelayTime, { 30.0f, 0.0f }, 1);
    EXPECT_GT (f.cb.line (0).pan, 0.0f);

    // Feedback stops below 1 and moves only the pressed dot's gain.
    f.cb.setLine (9, -0.3f, 0.05f, 0.1f, 0.9f, 0.5f, 0.5f);
    f.drag ({ 9, true, false }, EditMode::Feedback, { 0.0f, 10.0f }, 20);
    EXPECT_EQ (f.cb.line (9).feedback, 0.995f);
    EXPECT_EQ (f.cb.line (9).predelayGain, 0.5f);

    // High cut: down lowers it, whichever dot is held.
    f.drag ({ 9, false, true }, EditMode::Highcut, { 0.0f, -10.0f }, 1);
    EXPECT_LT (f.cb.line (9).hcGain, 0.5f);

    // Delete mode moves nothing.
    f.cb.calls.clear();
    EXPECT_FALSE (FanEditing::drag (f.geometry, f.lines(), { { 9, true, true } }, EditMode::Trashcan, { 0, 0 }, { 50, 50 }, f.cb));
    EXPECT_TRUE (f.cb.calls.empty());
}

TEST (FanEditing, ANewLineLandsWhereItIsReleasedWithinTheLimits)
{
    Fan f;
    // Released at the origin's height, 305 pixels left: pan -1, its time
    // from the circle's edge. Below the origin only the horizontal distance counts.
    for (const float y : { 20.0f, 5.0f })
    {
        const auto placed = FanEditing::placementAt (f.geometry, { 100.0f, y });
        ASSERT_TRUE (placed.has_value());
        EXPECT_EQ (placed->pan, -1.0f);
        EXPECT_FLOAT_EQ (placed->totalTime, (float) ((305.0 - 60.0) / 567.0));
    }
    EXPECT_FALSE (FanEditing::placementAt (f.geometry, { 405.0f, 79.0f }).has_value()); // inside the circle

    // Far out, the two times are halves of the 0.58 s cap.
    FanEditing::makeLine (5, { 0.25f, 0.8f }, f.cb);
    EXPECT_EQ (f.cb.log, (std::vector<std::string> { "pan 5", "predelay 5", "delay 5", "feedback 5", "highcut 5", "active 5", "predelaygain 5" }));
    const auto made = f.cb.line (5);
    EXPECT_EQ (made.pan, 0.25f);
    EXPECT_EQ (made.predelay, 0.29f);
    EXPECT_EQ (made.delayTime, 0.29f);
    EXPECT_EQ (made.feedback, 0.6f);
    EXPECT_EQ (made.hcGain, 0.8f);
    EXPECT_EQ (made.predelayGain, 0.8f);
    EXPECT_EQ (FanEditing::firstFreeLine (f.lines()), 0);
}
} // namespace nadrix
