// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <juce_graphics/juce_graphics.h>

// Where everything sits in the window, in its 850 x 596 pixels at 100 %:
// the artwork is drawn for these places.
namespace nadrix::EditorLayout
{
    constexpr int width = 850, height = 596;

    // The fan runs 39 pixels under the top edge, so its outer ring is cut.
    inline const juce::Rectangle<int> delayLines { 20, -39, 810, 420 };
    inline const juce::Point<int> editModes { 717, 19 }; // the four mode buttons' top left
    inline const juce::Rectangle<int> zoom { 530, 445, 270, 16 };

    inline const juce::Rectangle<int> equaliser { 21, 464, 325, 111 };
    inline const juce::Rectangle<int> mix { 378, 473, 90, 90 };

    // The randomizer's four settings, top to bottom, and its button.
    inline const juce::Rectangle<int> tailTime { 509, 500, 130, 15 };
    inline const juce::Rectangle<int> roomSize { 509, 517, 130, 15 };
    inline const juce::Rectangle<int> predelay { 509, 534, 130, 15 };
    inline const juce::Rectangle<int> complexity { 509, 551, 130, 15 };
    inline const juce::Point<int> renderRandom { 658, 533 };

    inline const juce::Point<int> help { 720, 466 };
    inline const juce::Point<int> about { 720, 524 };

    // The live value of a line, over the fan's upper part.
    inline const juce::Rectangle<int> lineReadout = delayLines.withHeight (24).withY (delayLines.getY() + 60);
}
