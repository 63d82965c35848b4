// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/ui/delays/DelaysViewTestKit.h"
#include "engine/ParameterLayout.h"

#include <gtest/gtest.h>

namespace nadrix
{
namespace
{
    constexpr int newLine = DelaysView::NewLine, idle = DelaysView::Idle, pointPress = DelaysView::PointPress,
                  bandSelect = DelaysView::BandSelect, bandHeld = DelaysView::BandHeld;
}

TEST (DelaysViewEditing, NewLineIsPulledFromTheCentreIntoTheLowestFreeLine)
{
    ViewFixture f;
    for (int j = 0; j < 5; ++j)
        f.cb.setLine (j, -0.9f + 0.3f * (float) j, 0.05f, 0.05f);

    f.press ({ 405, 60 });
    EXPECT_EQ (f.view.getDragState(), newLine);
    EXPECT_NEAR (f.view.getNewLineImage().getAlpha(), 1.0f, 0.01f);
    f.drag ({ 405, 300 });
    EXPECT_EQ (f.view.getDragState(), newLine);
    f.drag ({ 405, 534 }); // radial time (514 - 60) / 567 = 0.8
    f.release ({ 0, 0 });  // the last dragged position counts, not the release

    EXPECT_EQ (f.cb.lastWritten ("pan", 5), 0.0f);
    EXPECT_EQ (f.cb.lastWritten ("delay", 5), 0.29f); // pre-delay + delay capped at 0.58
    EXPECT_EQ (f.cb.line (5).active, 1.0f);
    EXPECT_EQ (f.view.getDragState(), idle);
    EXPECT_NEAR (f.view.getNewLineImage().getAlpha(), 0.5f, 0.01f);
}

TEST (DelaysViewEditing, CentreCircleRules)
{
    ViewFixture f;
    f.click ({ 405, 60 }); // a click without a drag creates nothing
    EXPECT_TRUE (f.cb.log.empty());
    EXPECT_EQ (f.view.getDragState(), idle);

    f.press ({ 465, 20 }); // exactly 60 pixels from the origin: outside the circle
    EXPECT_EQ (f.view.getDragState(), bandSelect);
    f.release ({ 465, 20 });

    // New lines can be pulled in delete mode too; with only line 49 free it is line 49.
    ViewFixture last (false);
    last.view.setEditMode (EditMode::Trashcan);
    last.press ({ 405, 50 });
    last.drag ({ 500, 200 });
    last.release ({ 500, 200 });
    EXPECT_EQ (last.cb.calls.front().line, 49);
    EXPECT_FALSE (last.view.getNewLineImage().isVisible()); // all 50 now run

    last.press ({ 405, 50 }); // nothing free: ignored
    EXPECT_NE (last.view.getDragState(), newLine);
    last.release ({ 405, 50 });

    last.click (last.dot (20, true)); // deleting a line in the view shows the hint again
    EXPECT_EQ (last.cb.line (20).active, 0.0f);
    EXPECT_TRUE (last.view.getNewLineImage().isVisible());
}

TEST (DelaysViewEditing, RubberBandCatchesDotsInEitherDirectionAndMovesThemTogether)
{
    ViewFixture f;
    f.cb.setLine (0, -0.2f, 0.05f, 0.05f);
    f.cb.setLine (1, 0.2f, 0.05f, 0.05f);
    f.cb.setLine (2, 0.9f, 0.05f, 0.05f); // far right, outside the band

    // A band from top right to bottom left around the dots of lines 0 and 1.
    f.press ({ 560, 200 });
    EXPECT_EQ (f.view.getDragState(), bandSelect);
    f.drag ({ 250, 60 });
    f.release ({ 250, 60 });
    EXPECT_EQ (f.view.getDragState(), bandHeld);
    ASSERT_EQ (f.view.getSelection().size(), 2);
    EXPECT_TRUE (f.view.getSelection()[0].moveDelayPoint && f.view.getSelection()[0].movePredelayPoint);

    // Pressing a selected line's dot drags the whole selection; it survives the release.
    f.cb.log.clear();
    f.view.setEditMode (EditMode::Feedback);
    const auto d = f.dot (1, true);
    f.press (d);
    f.drag (d + juce::Point<float> (0, 10));
    f.release (d);
    EXPECT_EQ (f.cb.log, (std::vector<std::string> { "feedback 0", "predelaygain 0", "feedback 1", "predelaygain 1" }));
    EXPECT_EQ (f.view.getDragState(), bandHeld);

    // The held band survives a change of mode: in high-cut mode every selected line changes.
    f.cb.log.clear();
    f.view.setEditMode (EditMode::Highcut);
    const auto p0 = f.dot (0, false);
    f.press (p0);
    f.drag (p0 + juce::Point<float> (0, -5));
    f.release (p0);
    EXPECT_EQ (f.cb.log, (std::vector<std::string> { "highcut 0", "highcut 1" }));
    EXPECT_LT (f.cb.line (1).hcGain, 0.5f);

    // A press elsewhere drops the band and is handled as a fresh press.
    f.press ({ 700, 350 });
    EXPECT_EQ (f.view.getDragState(), bandSelect);
    EXPECT_TRUE (f.view.getSelection().isEmpty());
    f.release ({ 700, 350 });

    // A band that catches only the pre-delay dot moves only that dot.
    ViewFixture g;
    g.cb.setLine (4, 0.0f, 0.05f, 0.3f);
    const auto p1 = g.dot (4, false);
    g.press (p1 - juce::Point<float> (20, 20));
    g.drag (p1 + juce::Point<float> (20, 20));
    g.release (p1 + juce::Point<float> (20, 20));
    ASSERT_EQ (g.view.getSelection().size(), 1);
    EXPECT_FALSE (g.view.getSelection()[0].moveDelayPoint);
    g.press (p1);
    g.drag (p1 + juce::Point<float> (0, 15));
    g.release ({ 0, 0 });
    EXPECT_EQ (g.cb.log, (std::vector<std::string> { "predelay 4", "pan 4" }));

    g.view.setEditMode (EditMode::Trashcan); // delete mode drops a held band
    EXPECT_EQ (g.view.getDragState(), idle);
    EXPECT_TRUE (g.view.getSelection().isEmpty());
}

TEST (DelaysViewEditing, DeleteModeRemovesTheLineUnderThePointerAtRelease)
{
    ViewFixture f;
    f.cb.setLine (0, -0.5f, 0.05f, 0.1f);
    f.cb.setLine (1, 0.5f, 0.05f, 0.1f);
    f.view.setEditMode (EditMode::Trashcan);

    f.click ({ 700, 380 }); // empty space: nothing
    EXPECT_TRUE (f.cb.log.empty());

    f.press (f.dot (0, true)); // from one dot to the other: only the second goes
    f.drag (f.dot (1, false));
    EXPECT_EQ (f.view.getDragState(), pointPress);
    f.release (f.dot (1, false));
    EXPECT_EQ (f.cb.log, std::vector<std::string> { "active 1" });
    EXPECT_TRUE (f.view.getNewLineImage().isVisible());

    f.press (f.dot (0, false)); // dragged off into empty space: nothing
    f.drag ({ 700, 380 });
    f.release ({ 700, 380 });
    EXPECT_EQ (f.cb.log.size(), 1u);

    f.click (f.dot (0, true));
    EXPECT_EQ (f.cb.log.back(), "active 0");
    EXPECT_EQ (f.cb.line (0).active, 0.0f);
}

TEST (DelaysViewEditing, NewLineHintFollowsOnlyTheViewsOwnCreationsAndDeletions)
{
    ViewFixture all (false); // all 50 run at set-up: no hint
    all.cb.engine.setParameter (ParameterLayout::indexOf (49, ParameterLayout::active), 1.0f);
    DelaysView fresh;
    fresh.setup (20, -39, 810, 420, 1.4f, &all.cb.engine, &all.cb);
    EXPECT_FALSE (fresh.getNewLineImage().isVisible());
    all.cb.engine.setParameter (7 + 5, 0.0f); // a change from elsewhere: no effect yet
    EXPECT_FALSE (fresh.getNewLineImage().isVisible());
}

TEST (DelaysViewEditing, AnEditShowsOnTheNextPaintFromTheEnginesRecord)
{
    ViewFixture f;
    f.cb.setLine (3, 0.0f, 0.05f, 0.2f, 0.4f, 0.4f, 1.0f);
    auto alphaAt = [&f] (juce::Point<float> p) {
        juce::Image image (juce::Image::ARGB, f.view.getWidth(), f.view.getHeight(), true);
        juce::Graphics g (image);
        f.view.paint (g);
        return image.getPixelAt ((int) p.x, (int) p.y).getAlpha();
    };
    const auto before = f.dot (3, true);
    EXPECT_GT (alphaAt (before), 0x90);

    f.press (before);
    f.drag (before + juce::Point<float> (60, 0)); // to the right: the pan grows, the ray turns
    f.release (before);
    const auto after = f.dot (3, true);
    EXPECT_GT (after.x, before.x + 20.0f);
    EXPECT_GT (alphaAt (after), 0x90);
    EXPECT_LT (alphaAt (before), 0x40); // only the rings remain there
}

TEST (DelaysViewEditing, TheKeyboardChoosesLinesInPanOrderStepsTheModesValueDeletesAndMakes)
{
    ViewFixture f;
    f.cb.setLine (7, 0.4f, 0.05f, 0.1f, 0.5f);
    f.cb.setLine (2, -0.6f, 0.05f, 0.1f, 0.5f);
    f.cb.setLine (9, 0.1f, 0.05f, 0.1f, 0.5f, 0.5f, 0.5f);
    auto key = [&f] (int code, juce::ModifierKeys mods = {}) { return f.view.keyPressed (juce::KeyPress (code, mods, 0)); };
    auto writes = [&f] { return f.cb.calls.size(); };

    // Entered from the keyboard, the leftmost running line; Right goes on in pan order.
    f.view.focusGained (juce::Component::focusChangedByTabKey);
    EXPECT_EQ (f.view.getKeyboardLine(), 2);
    EXPECT_TRUE (key (juce::KeyPress::rightKey));
    EXPECT_EQ (f.view.getKeyboardLine(), 9);
    EXPECT_TRUE (key (juce::KeyPress::pageDownKey));
    EXPECT_EQ (f.view.getKeyboardLine(), 7);
    EXPECT_TRUE (key (juce::KeyPress::rightKey));
    EXPECT_EQ (f.view.getKeyboardLine(), 7); // the rightmost stays
    EXPECT_TRUE (key (juce::KeyPress::leftKey));
    EXPECT_EQ (f.view.getKeyboardLine(), 9);

    // Up steps the mode's value of exactly that line, by the small step or, with Shift, the large.
    f.view.setEditMode (EditMode::Feedback);
    const auto before = writes();
    EXPECT_TRUE (key (juce::KeyPress::upKey));
    ASSERT_EQ (writes(), before + 1);
    EXPECT_EQ (f.cb.calls.back().what, "feedback");
    EXPECT_EQ (f.cb.calls.back().line, 9);
    EXPECT_FLOAT_EQ (f.cb.calls.back().value, 0.51f);
    EXPECT_TRUE (key (juce::KeyPress::downKey, juce::ModifierKeys::shiftModifier));
    EXPECT_FLOAT_EQ (f.cb.line (9).feedback, 0.41f);
    f.view.setEditMode (EditMode::DelayTime);
    EXPECT_TRUE (key (juce::KeyPress::upKey));
    EXPECT_EQ (f.cb.calls.back().what, "delay");
    EXPECT_FLOAT_EQ (f.cb.calls.back().value, 0.11f);

    // Delete switches it off and moves on; Insert makes a line straight ahead.
    EXPECT_TRUE (key (juce::KeyPress::deleteKey));
    EXPECT_EQ (f.cb.calls.back().what, "active");
    EXPECT_EQ (f.cb.line (9).active, 0.0f);
    EXPECT_EQ (f.view.getKeyboardLine(), 7);
    EXPECT_TRUE (key (juce::KeyPress::insertKey));
    EXPECT_EQ (f.cb.line (0).active, 1.0f); // the lowest free line
    EXPECT_EQ (f.cb.line (0).pan, 0.0f);
    EXPECT_EQ (f.view.getKeyboardLine(), 0);
    EXPECT_FALSE (key ('q'));
}
} // namespace nadrix
