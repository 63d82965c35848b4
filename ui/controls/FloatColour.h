// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <juce_graphics/juce_graphics.h>

namespace nadrix
{
// A colour from float components in 0..1, each scaled by 255.996 and
// truncated: the conversion the editor's colours were chosen with (alpha
// 0.32 gives 0x51, 0.7 gives 0xB3). JUCE 7's Colour::fromFloatRGBA rounds
// instead and would shift some of them by one step.
inline juce::Colour floatColour (float red, float green, float blue, float alpha)
{
    auto toByte = [] (float c) { return c <= 0.0f ? (juce::uint8) 0 : c >= 1.0f ? (juce::uint8) 255 : (juce::uint8) (c * 255.996f); };
    return juce::Colour (toByte (red), toByte (green), toByte (blue), toByte (alpha));
}
} // namespace nadrix
