// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/standalone/WindowTitle.h"

#include "processor/NadrixAudioProcessor.h"
#include "processor/ParameterInfo.h"
#include "engine/ParameterLayout.h"

#include <gtest/gtest.h>

namespace nadrix
{
TEST (WindowTitle, NamesTheProgramAndMarksItWhileItsValuesDiffer)
{
    NadrixAudioProcessor p;
    EXPECT_EQ (WindowTitle::of (p), "Nadrix - Small Complex Room");

    p.setCurrentProgram (1);
    EXPECT_EQ (WindowTitle::of (p), "Nadrix - Nice Hall");

    const float mix = p.getParameterValue (ParameterLayout::mix);
    p.setParameter (ParameterLayout::mix, 0.1f);
    EXPECT_EQ (WindowTitle::of (p), "Nadrix - Nice Hall (edited)");
    p.setParameter (ParameterLayout::mix, mix); // edited back: the program's own values again
    EXPECT_EQ (WindowTitle::of (p), "Nadrix - Nice Hall");

    p.setParameter (ParameterInfo::uiZoom, 0.9f); // the window's zoom is no edit of the sound
    EXPECT_EQ (WindowTitle::of (p), "Nadrix - Nice Hall");
}
} // namespace nadrix
