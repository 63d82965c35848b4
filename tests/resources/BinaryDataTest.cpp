// SPDX-License-Identifier: GPL-3.0-or-later
#include "BinaryData.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <gtest/gtest.h>

namespace
{
    struct Expected
    {
        const char* name;
        int width, height;
        bool alpha;
    };

    const Expected images[] = {
        { "bkg_au_png", 850, 596, false },
        { "new_line_btn_png", 29, 29, true },
        { "render_random_btn_png", 33, 30, true },     { "render_random_down_btn_png", 33, 30, true },
        { "about_btn_png", 110, 54, true },            { "about_down_btn_png", 110, 54, true },
        { "help_btn_png", 104, 45, true },             { "help_down_btn_png", 104, 45, true },
        { "btn_delaytime_up_png", 54, 54, true },      { "btn_delaytime_down_png", 54, 54, true },
        { "btn_feedback_up_png", 54, 54, true },       { "btn_feedback_down_png", 54, 54, true },
        { "btn_highcut_up_png", 54, 54, true },        { "btn_highcut_down_png", 54, 54, true },
        { "btn_trashcan_up_png", 54, 54, true },       { "btn_trashcan_down_png", 54, 54, true },
    };
}

TEST (BinaryData, EverySixteenImagesDecodesAtItsLayoutSize)
{
    EXPECT_EQ (BinaryData::namedResourceListSize, 16);

    for (const auto& e : images)
    {
        int size = -1;
        const char* data = BinaryData::getNamedResource (e.name, size);
        ASSERT_NE (data, nullptr) << e.name;
        EXPECT_GT (size, 0);

        const auto image = juce::ImageCache::getFromMemory (data, size);
        EXPECT_EQ (image.getWidth(), e.width) << e.name;
        EXPECT_EQ (image.getHeight(), e.height) << e.name;
        EXPECT_EQ (image.hasAlphaChannel(), e.alpha) << e.name;
        // 8 bits per channel: PNG header bit depth, byte 24.
        EXPECT_EQ (static_cast<unsigned char> (data[24]), 8) << e.name;
    }
}

TEST (BinaryData, NamedLookupHashesTheWholeNameAndRefusesTheRest)
{
    int size = -1;
    EXPECT_EQ (BinaryData::getNamedResource ("bkg_au_png", size), BinaryData::bkg_au_png);
    EXPECT_EQ (size, BinaryData::bkg_au_pngSize);

    size = -1;
    EXPECT_EQ (BinaryData::getNamedResource ("bkg_au", size), nullptr);
    EXPECT_EQ (size, 0);
    size = -1;
    EXPECT_EQ (BinaryData::getNamedResource (nullptr, size), nullptr);
    EXPECT_EQ (size, 0);

    // h = h * 31 + c over the name's bytes, wrapping at 32 bits.
    juce::uint32 hash = 0;
    for (const char* c = "about_btn_png"; *c != 0; ++c)
        hash = 31 * hash + (juce::uint32) *c;
    EXPECT_EQ (hash, 0x4e42bf14u);
    EXPECT_EQ (BinaryData::getNamedResource ("about_btn_png", size), BinaryData::about_btn_png);
}

TEST (BinaryData, BackgroundShowsTheFieldWhereTheDelayViewDraws)
{
    const auto bkg = juce::ImageCache::getFromMemory (BinaryData::bkg_au_png, BinaryData::bkg_au_pngSize);
    auto near = [] (juce::Colour c, int r, int g, int b) {
        return std::abs (c.getRed() - r) < 16 && std::abs (c.getGreen() - g) < 16 && std::abs (c.getBlue() - b) < 16;
    };
    EXPECT_TRUE (near (bkg.getPixelAt (5, 300), 84, 136, 159));    // the ground
    EXPECT_TRUE (near (bkg.getPixelAt (425, 200), 75, 122, 143));  // inside the half-disc field
    EXPECT_TRUE (near (bkg.getPixelAt (425, 420), 84, 136, 159));  // the cut-out at the origin
    EXPECT_TRUE (near (bkg.getPixelAt (840, 200), 84, 136, 159));  // outside the field
}
