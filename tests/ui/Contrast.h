// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <juce_graphics/juce_graphics.h>

#include <algorithm>
#include <cmath>

namespace nadrix
{
// WCAG's relative luminance of a colour on screen, and the contrast of two.
inline double luminance (juce::Colour c)
{
    auto channel = [] (float v) { return v <= 0.04045f ? v / 12.92 : std::pow ((v + 0.055) / 1.055, 2.4); };
    return 0.2126 * channel (c.getFloatRed()) + 0.7152 * channel (c.getFloatGreen()) + 0.0722 * channel (c.getFloatBlue());
}

inline double contrast (juce::Colour a, juce::Colour b)
{
    const double la = luminance (a), lb = luminance (b);
    return (std::max (la, lb) + 0.05) / (std::min (la, lb) + 0.05);
}
} // namespace nadrix
