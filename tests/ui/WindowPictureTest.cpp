// SPDX-License-Identifier: GPL-3.0-or-later
// The whole window, painted headless for a factory program, against a
// committed reference picture: every control's drawing, the layout, the
// artwork and the fan (at a zoom where some dots lie beyond the visible
// radius) in one comparison.
#include "BinaryData.h"
#include "ui/controls/ScaledImage.h"
#include "tests/ui/WindowPicture.h"
#include "tests/ui/Contrast.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace nadrix
{
namespace
{
    const juce::File reference = juce::File (NADRIX_TEST_SOURCE_DIR).getChildFile ("ui/reference/window-nice-hall.png");
}

TEST (WindowPicture, NiceHallLooksAsItsReference)
{
    const auto painted = paintedNiceHallWindow();

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

    const auto d = comparePictures (painted, expected.convertedToFormat (juce::Image::ARGB));
    const int allowed = allowedOutliers (painted);
    if (d.outliers > allowed)
    {
        write (actual);
        FAIL() << d.outliers << " pixels differ from " << reference.getFullPathName() << " by more than " << pictureChannelTolerance
               << " steps (at most " << allowed << " may; the largest difference is " << d.largest << "). The window as painted is in "
               << actual.getFullPathName() << "; if the change is intended, run with NADRIX_UPDATE_REFERENCE=1 and say why in the commit.";
    }
}

namespace
{
    // The contrast of small text in a box that holds it: the text is the
    // brightest colour there, what lies under it the median (the letters
    // cover far less than half of the box).
    double textContrast (const juce::Image& window, juce::Rectangle<int> box)
    {
        std::vector<double> levels;
        for (int y = box.getY(); y < box.getBottom(); ++y)
            for (int x = box.getX(); x < box.getRight(); ++x)
                levels.push_back (luminance (window.getPixelAt (x, y)));
        std::sort (levels.begin(), levels.end());
        return (levels.back() + 0.05) / (levels[levels.size() / 2] + 0.05);
    }
}

TEST (WindowPicture, SmallTextKeepsAContrastOf45WhateverLiesUnderIt)
{
    EditorSession s;
    auto in = s.inspect();
    const std::pair<const char*, juce::Rectangle<int>> captions[] = {
        { "50-LINE REVERB", { 38, 106, 84, 9 } }, { "DRY", { 376, 562, 22, 9 } },       { "WET", { 446, 562, 26, 9 } },
        { "RANDOMIZER", { 508, 479, 95, 10 } },   { "TAIL TIME", { 514, 503, 55, 10 } }, { "ROOM SIZE", { 514, 520, 58, 10 } },
        { "PREDELAY", { 514, 537, 55, 10 } },     { "COMPLEXITY", { 514, 554, 70, 10 } }, { "AUDIO TOOLS", { 758, 554, 62, 8 } },
    };
    for (float sliders : { 0.0f, 1.0f }) // the randomizer captions on the empty track, then under the bar
    {
        for (auto* slider : { &in.tailTime(), &in.roomSize(), &in.predelay(), &in.complexity() })
            slider->setValue (sliders);
        const auto window = s.editor->createComponentSnapshot (s.editor->getLocalBounds()).convertedToFormat (juce::Image::ARGB);
        for (const auto& [name, box] : captions)
        {
            const double contrast = textContrast (window, box);
            EXPECT_GE (contrast, 4.5) << name << " with the sliders at " << sliders;
            std::cout << name << (sliders > 0.0f ? " (under the bar)" : "") << ": " << juce::String (contrast, 2) << ":1\n";
        }
    }
}

namespace
{
    // The field's 1-pixel base line at y 440 of a window drawn at twice its
    // size: two sharp rows, where the normal image scaled up would smear it
    // over more.
    void expectSharpBaseLine (const juce::Image& doubled)
    {
        ASSERT_EQ (doubled.getWidth(), 1700);
        const double ground = luminance (doubled.getPixelAt (200, 870)), line = luminance (doubled.getPixelAt (200, 880));
        int between = 0;
        for (int y = 874; y < 888; ++y)
        {
            const double l = luminance (doubled.getPixelAt (200, y));
            between += std::abs (l - ground) > 0.2 * std::abs (line - ground) && std::abs (l - line) > 0.2 * std::abs (line - ground) ? 1 : 0;
        }
        EXPECT_GT (line, ground * 1.2);
        EXPECT_LE (between, 0) << "the base line's edge is blurred: the normal image was scaled up";
    }
}

TEST (WindowPicture, At200PercentOrOnAScreenScaledBy2TheArtworkIsDrawnAtTwiceItsSize)
{
    // Every image has its double, with the same colour type.
    for (int i = 0; i < BinaryData::namedResourceListSize; ++i)
    {
        const juce::String name (BinaryData::namedResourceList[i]);
        if (name.endsWith ("_2x_png"))
            continue;
        const auto normal = ScaledImage::named (name.dropLastCharacters (4).toRawUTF8());
        ASSERT_TRUE (normal.getDouble().isValid()) << name;
        EXPECT_EQ (normal.getDouble().getBounds(), normal.getNormal().getBounds() * 2) << name;
        EXPECT_EQ (normal.getDouble().getFormat(), normal.getNormal().getFormat()) << name;
    }

    // On a screen scaled by 2.
    EditorSession s;
    expectSharpBaseLine (s.editor->createComponentSnapshot (s.editor->getLocalBounds(), true, 2.0f).convertedToFormat (juce::Image::ARGB));

    // At 200 % chosen from the window's menu (the Standalone's Options menu
    // offers the same), in a host's window; and so again when reopened.
    juce::StringArray sizes;
    const auto menu = s.editor->windowSizeMenu();
    for (juce::PopupMenu::MenuItemIterator it (menu); it.next();)
    {
        sizes.add (it.getItem().text + (it.getItem().isTicked ? " *" : ""));
        if (it.getItem().text == "200 %")
            it.getItem().action();
    }
    EXPECT_EQ (sizes.joinIntoString (", "), "100 % *, 150 %, 200 %");
    juce::Component frame; // as a host's window holds the editor
    frame.addAndMakeVisible (*s.editor);
    frame.setBounds (s.editor->getBoundsInParent());
    const auto picture = frame.createComponentSnapshot (frame.getLocalBounds()).convertedToFormat (juce::Image::ARGB);
    EXPECT_EQ (picture.getWidth(), 1700);
    EXPECT_EQ (picture.getHeight(), 1192);
    expectSharpBaseLine (picture);

    frame.removeChildComponent (s.editor.get());
    s.open();
    EXPECT_EQ (s.editor->getTransform().mat00, 2.0f);
    s.editor->setWindowScale (1.0f);
    s.open();
    EXPECT_EQ (s.editor->getTransform().mat00, 1.0f);
}
} // namespace nadrix
