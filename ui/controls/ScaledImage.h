// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

namespace nadrix
{
// One piece of the window's artwork at its size and at twice its size: the
// larger is drawn, in the same place, wherever the screen (or the host)
// scales the window by more than 1, so the window stays sharp.
class ScaledImage
{
public:
    ScaledImage() = default;
    ScaledImage (juce::Image normalSize, juce::Image doubleSize);

    // The compiled-in image NAME.png with NAME_2x.png.
    static ScaledImage named (const char* name);

    void drawAt (juce::Graphics& g, int x, int y) const;
    int getWidth() const noexcept { return normal.getWidth(); }
    int getHeight() const noexcept { return normal.getHeight(); }
    const juce::Image& getNormal() const noexcept { return normal; }
    const juce::Image& getDouble() const noexcept { return doubled; }

private:
    juce::Image normal, doubled;
};
} // namespace nadrix
