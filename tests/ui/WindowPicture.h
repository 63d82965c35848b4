// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The window painted headless for "Nice Hall", and how a picture of it is
// compared with the committed reference (tests/ui/reference): the same here
// and in the Windows build's check under Wine.
//
// How it decides: nothing in the window renders text at run time (every
// caption is part of the background artwork), so only anti-aliased edges
// could come out differently on another machine. A pixel may differ by up to
// 2 steps per channel; at most 0.1 % of the pixels may differ by more. On a
// mismatch the picture as painted is written beside the build for review; a
// deliberate change of the drawing replaces the reference with it.
#include "tests/ui/editor/EditorTestKit.h"

#include <algorithm>
#include <cstdlib>

namespace nadrix
{
constexpr int pictureChannelTolerance = 2;
constexpr double pictureOutlierShare = 0.001;

struct PictureDifference
{
    int outliers = 0, largest = 0;
};

inline PictureDifference comparePictures (const juce::Image& a, const juce::Image& b)
{
    PictureDifference d;
    for (int y = 0; y < a.getHeight(); ++y)
        for (int x = 0; x < a.getWidth(); ++x)
        {
            const auto p = a.getPixelAt (x, y), q = b.getPixelAt (x, y);
            const int worst = std::max ({ std::abs (p.getRed() - q.getRed()), std::abs (p.getGreen() - q.getGreen()),
                                          std::abs (p.getBlue() - q.getBlue()), std::abs (p.getAlpha() - q.getAlpha()) });
            d.largest = std::max (d.largest, worst);
            d.outliers += worst > pictureChannelTolerance ? 1 : 0;
        }
    return d;
}

inline int allowedOutliers (const juce::Image& picture) { return (int) (pictureOutlierShare * picture.getWidth() * picture.getHeight()); }

// "Nice Hall" at a zoom at which some dots lie beyond the visible radius.
inline juce::Image paintedNiceHallWindow()
{
    EditorSession s;
    s.processor.setCurrentProgram (1);
    s.hostWrites (6, 0.8f);
    s.editor->timerCallback();
    return s.editor->createComponentSnapshot (s.editor->getLocalBounds()).convertedToFormat (juce::Image::ARGB);
}
} // namespace nadrix
