// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/delays/EditModeChooserView.h"
#include "tests/ui/ControlTestKit.h"

#include <gtest/gtest.h>

namespace nadrix
{
TEST (EditModeChooser, KeepsExactlyOneModeLitAndReportsEveryClick)
{
    struct Modes : EditModeChooserCallback
    {
        std::vector<EditMode> reported;
        void editModeChanged (EditMode mode) override { reported.push_back (mode); }
    } modes;

    EditModeChooserView chooser;
    chooser.setup (717, 19, &modes);
    chooser.setVisible (true);
    EXPECT_TRUE (modes.reported.empty()); // the view starts in the same mode: nothing to report

    auto button = [&chooser] (int x, int y) { return dynamic_cast<ESwitchButton*> (chooser.getComponentAt (x, y)); };
    ESwitchButton* delayTime = button (10, 10);
    ESwitchButton* trashcan = button (70, 10);
    ESwitchButton* feedback = button (10, 70);
    ESwitchButton* highcut = button (70, 70);
    ASSERT_TRUE (delayTime && trashcan && feedback && highcut);
    EXPECT_EQ (delayTime->getValue(), 1.0f);

    delayTime->mouseUp (mouseAt (*delayTime, 5, 5)); // the lit one stays lit, and is reported again
    EXPECT_EQ (delayTime->getValue(), 1.0f);
    trashcan->mouseUp (mouseAt (*trashcan, 5, 5));
    EXPECT_EQ (trashcan->getValue(), 1.0f);
    EXPECT_EQ (delayTime->getValue(), 0.0f);
    highcut->mouseUp (mouseAt (*highcut, 80, 5)); // released outside: nothing
    EXPECT_EQ (modes.reported, (std::vector<EditMode> { EditMode::DelayTime, EditMode::Trashcan }));
    EXPECT_EQ (chooser.getMode(), EditMode::Trashcan);
    EXPECT_EQ (feedback->getValue() + highcut->getValue(), 0.0f);
}
} // namespace nadrix
