// SPDX-License-Identifier: GPL-3.0-or-later
// The whole window, painted headless for a factory program, against a
// committed reference picture: every control's drawing, the layout, the
// artwork and the fan (at a zoom where some dots lie beyond the visible
// radius) in one comparison.
//
// How it decides: nothing in the window renders text at run time (every
// caption is part of the background artwork), so only anti-aliased edges
// could come out differently on another machine. A pixel may differ by up to
// 2 steps per channel; at most 0.1 % of the pixels may differ by more. On a
// mismatch the picture as painted is written beside the build for review; a
// deliberate change of the drawing replaces the reference with it.
#include "editor/EditorTestKit.h"

#include <gtest/gtest.h>

namespace
{
    const juce::File reference = juce::File (NADRIX_TEST_SOURCE_DIR).getChildFile ("ui/reference/window-nice-hall.png");
    constexpr int channelTolerance = 2;
    constexpr double outlierShare = 0.001;

    struct Difference
    {
        int outliers = 0, largest = 0;
    };

    Difference compare (const juce::Image& a, const juce::Image& b)
    {
        Difference d;
        for (int y = 0; y < a.getHeight(); ++y)
            for (int x = 0; x < a.getWidth(); ++x)
            {
                const auto p = a.getPixelAt (x, y), q = b.getPixelAt (x, y);
                const int worst = std::max ({ std::abs (p.getRed() - q.getRed()), std::abs (p.getGreen() - q.getGreen()),
                                              std::abs (p.getBlue() - q.getBlue()), std::abs (p.getAlpha() - q.getAlpha()) });
                d.largest = std::max (d.largest, worst);
                d.outliers += worst > channelTolerance ? 1 : 0;
            }
        return d;
    }
}

TEST (WindowPicture, NiceHallLooksAsItsReference)
{
    EditorSession s;
    s.processor.setCurrentProgram (1);
    s.hostWrites (6, 0.8f); // a zoom at which some dots lie beyond the visible radius
    s.editor->timerCallback();
    const auto painted = s.editor->createComponentSnapshot (s.editor->getLocalBounds()).convertedToFormat (juce::Image::ARGB);

    auto write = [&painted] (const juce::File& file) {
        file.deleteFile();
        juce::FileOutputStream out (file);
        juce::PNGImageFormat().writeImageToStream (painted, out);
    };
    const auto actual = juce::File (NADRIX_TEST_OUTPUT_DIR).getChildFile ("window-nice-hall.actual.png");

    if (std::getenv ("NADRIX_UPDATE_REFERENCE") != nullptr)
        return write (reference);

    const auto expected = juce::ImageFileFormat::loadFrom (reference);
    if (! expected.isValid() || expected.getBounds() != painted.getBounds())
    {
        write (actual);
        FAIL() << "no usable reference at " << reference.getFullPathName() << "; the window as painted is in " << actual.getFullPathName();
    }

    const auto d = compare (painted, expected.convertedToFormat (juce::Image::ARGB));
    const int allowed = (int) (outlierShare * painted.getWidth() * painted.getHeight());
    if (d.outliers > allowed)
    {
        write (actual);
        FAIL() << d.outliers << " pixels differ from " << reference.getFullPathName() << " by more than " << channelTolerance
               << " steps (at most " << allowed << " may; the largest difference is " << d.largest << "). The window as painted is in "
               << actual.getFullPathName() << "; if the change is intended, run with NADRIX_UPDATE_REFERENCE=1 and say why in the commit.";
    }
}
