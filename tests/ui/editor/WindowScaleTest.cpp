// SPDX-License-Identifier: GPL-3.0-or-later
// The window's stored scale: a choice comes back as stored; anything else
// (a hand-edited or damaged settings file) opens the window at 100 %.
#include "ui/editor/WindowScale.h"

#include <gtest/gtest.h>

namespace nadrix
{
TEST (WindowScale, AStoredScaleThatIsNotAChoiceOpensAt100Percent)
{
    for (const float choice : WindowScale::choices)
    {
        WindowScale::store (choice);
        EXPECT_EQ (WindowScale::stored(), choice);
    }
    for (const float other : { 1.25f, 3.0f, 0.5f, -1.0f, 0.0f, 1.5000001f })
    {
        WindowScale::store (other);
        EXPECT_EQ (WindowScale::stored(), 1.0f) << other;
    }
    for (const char* text : { "", "abc", "nan", "inf", "1e999", "150%" })
    {
        ASSERT_TRUE (WindowScale::settingsFile().replaceWithText (juce::String ("<?xml version=\"1.0\"?>\n<PROPERTIES>\n  <VALUE name=\"windowScale\" val=\"") + text
                                                                  + "\"/>\n</PROPERTIES>\n"));
        EXPECT_EQ (WindowScale::stored(), 1.0f) << "'" << text << "'";
    }
    WindowScale::settingsFile().deleteFile();
    EXPECT_EQ (WindowScale::stored(), 1.0f);
}
} // namespace nadrix
