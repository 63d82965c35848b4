// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

namespace nadrix
{
// Whether a mouse release lands on a button: its integer position in the
// button's own coordinates, with the right and bottom edges included, so a
// release one pixel past the last column or row still counts.
inline bool releaseInside (const juce::Component& button, const juce::MouseEvent& e)
{
    const auto p = e.getPosition();
    return p.x >= 0 && p.x <= button.getWidth() && p.y >= 0 && p.y <= button.getHeight();
}
} // namespace nadrix
