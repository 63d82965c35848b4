// SPDX-License-Identifier: GPL-3.0-or-later
#include "DelaysViewTestKit.h"
#include "EditModeChooserView.h"
#include "NadrixAudioProcessor.h"
#include "ScaleView.h"

#include <gtest/gtest.h>

namespace
{
    // Rings crossing the column above the ring centre, counted as runs of
    // painted pixels, and the radius of the outermost.
    std::pair<int, int> ringsOf (float zoom, int height)
    {
        ScaleView scale;
        scale.setBounds (0, 0, 810, height);
        scale.zoom = zoom;
        auto image = painted (scale);

        int runs = 0, outermost = 0;
        bool inside = false;
        for (int y = 0; y < height; ++y)
        {
            const bool lit = image.getPixelAt (405, y).getAlpha() > 0;
            if (lit && ! inside)
                ++runs;
            if (lit)
                outermost = y;
            inside = lit;
        }
        return { runs, outermost };
    }

    juce::Image paintedWithBackground (DelaysView& view)
    {
        juce::Image image (juce::Image::ARGB, view.getWidth(), view.getHeight(), true);
        juce::Graphics g (image);
        view.paint (g);
        return image;
    }
}

TEST (ScaleView, RingsAreSpacedByFiveTimesTheZoomBeyondTheCentreCircle)
{
    EXPECT_EQ (ringsOf (1.4f, 400), std::make_pair (48, 396));
    EXPECT_EQ (ringsOf (11.4f, 400).first, 5);
    EXPECT_EQ (ringsOf (68.0f, 400).first, 0); // 5 x zoom >= H - 60: nothing
}

TEST (DelaysViewDrawing, DiscsAndRaysTakeTheirColourFromTheHighCutShare)
{
    ViewFixture f;
    f.view.setZoom (11.4f); // rings at 117, 174, ... keep clear of the probes
    // Pan 0 runs straight up the column x = 405; a wider view centres it on a pixel.
    f.cb.setLine (0, 0.0f, 30.0f / (11.4f * 405.0f), 0.01f, 0.5f, 0.5f, 0.0f);
    DelaysView view;
    view.setup (20, -39, 811, 420, 11.4f, f.cb.engine.getViewData(), &f.cb);
    const FanGeometry fan (811.0f, 420.0f, 11.4f);
    const auto l = fan.line (f.cb.line (0));

    // Probed beside the disc centre, off the ray that runs through it.
    const int discX = (int) l.predelayPoint.x - 4, discY = (int) l.predelayPoint.y;
    auto image = paintedWithBackground (view);
    const auto disc = image.getPixelAt (discX, discY);
    EXPECT_TRUE (sameColour (disc, juce::Colour (0x99FFFF00))) << disc.toString();
    const auto ray = image.getPixelAt (405, 20 + 65);
    EXPECT_TRUE (sameColour (ray, juce::Colour (0x7F7FCCE6))) << ray.toString();

    f.cb.engine.setParamByAUID (7 + 1, 1.0f); // high-cut share 1: white discs
    image = paintedWithBackground (view);
    EXPECT_TRUE (sameColour (image.getPixelAt (discX, discY), juce::Colour (0x99FFFFFF)));
    EXPECT_TRUE (sameColour (image.getPixelAt (405, 20 + 65), juce::Colour (0x7FFFCCE6)));
}

TEST (DelaysViewDrawing, AnEditWrittenToTheEngineShowsOnTheNextPaint)
{
    ViewFixture f;
    f.cb.setLine (3, 0.0f, 0.05f, 0.2f, 0.4f, 0.4f, 1.0f);
    const auto before = f.dot (3, true);
    auto image = paintedWithBackground (f.view);
    EXPECT_GT (image.getPixelAt ((int) before.x, (int) before.y).getAlpha(), 0x90);

    f.view.setEditMode (DelayTime);
    f.press (before);
    f.drag (before + juce::Point<float> (60, 0)); // to the right: the pan grows, the ray turns
    f.release (before);
    const auto after = f.dot (3, true);
    EXPECT_GT (after.x, before.x + 20.0f);

    image = paintedWithBackground (f.view);
    EXPECT_GT (image.getPixelAt ((int) after.x, (int) after.y).getAlpha(), 0x90);
    EXPECT_LT (image.getPixelAt ((int) before.x, (int) before.y).getAlpha(), 0x40); // only rings remain there
}

TEST (DelaysViewDrawing, DotsBeyondTheVisibleRadiusAreLeftOut)
{
    ViewFixture f;
    f.cb.setLine (0, 0.0f, 0.9f, 0.5f, 0.5f, 0.5f, 0.0f); // pre-delay dot at 570 > 400
    const auto image = paintedWithBackground (f.view);
    // Only the ray from the inner point to the edge: the 0.5-alpha colour up to the top.
    EXPECT_GT (image.getPixelAt (404, 390).getAlpha() + image.getPixelAt (405, 390).getAlpha(), 0x60);

    ViewFixture g;
    g.cb.setLine (1, 0.0f, 0.1f, 0.9f, 0.5f, 0.5f, 0.0f); // delay dot beyond, pre-delay dot inside
    const auto withDot = paintedWithBackground (g.view);
    const auto p1 = g.dot (1, false);
    EXPECT_GT (withDot.getPixelAt ((int) p1.x, (int) p1.y).getAlpha(), 0x90);
}

TEST (DelaysViewDrawing, ProgramOneAsTheEditorShowsIt)
{
    // Writes the picture for the documentation, flipped as on screen.
    NadrixAudioProcessor processor;
    processor.setCurrentProgram (1);
    EngineBackedCallback unused;
    DelaysView view;
    view.setup (20, -39, 810, 420, 1.4f + 10.0f * processor.getParameterValue (6), processor.getViewData(), &unused);

    juce::Image picture (juce::Image::RGB, 810, 420, true);
    {
        juce::Graphics g (picture);
        g.fillAll (juce::Colour (0xFF4B7A8F));
        g.addTransform (juce::AffineTransform::verticalFlip (420.0f));
        view.paint (g);
    }

    int lit = 0;
    for (int y = 0; y < 420; y += 2)
        for (int x = 0; x < 810; x += 2)
            lit += picture.getPixelAt (x, y).getBrightness() > 0.85f ? 1 : 0;
    EXPECT_GT (lit, 200); // 36 lines of discs

    const auto file = juce::File (NADRIX_TEST_OUTPUT_DIR).getChildFile ("delays-view-program-1.png");
    file.deleteFile();
    juce::FileOutputStream out (file);
    ASSERT_TRUE (out.openedOk());
    EXPECT_TRUE (juce::PNGImageFormat().writeImageToStream (picture, out));
}

TEST (EditModeChooser, KeepsExactlyOneModeLitAndReportsEveryClick)
{
    struct Modes : EditModeChooserCallback
    {
        std::vector<int> reported;
        void editModeChanged (int mode) override { reported.push_back (mode); }
    } modes;

    EditModeChooserView chooser;
    chooser.setup (717, 19, &modes);
    chooser.setVisible (true);
    EXPECT_EQ (chooser.getBounds(), juce::Rectangle<int> (717, 19, 126, 126));
    EXPECT_TRUE (modes.reported.empty());

    auto button = [&chooser] (int x, int y) { return dynamic_cast<ESwitchButton*> (chooser.getComponentAt (x, y)); };
    ESwitchButton* delayTime = button (10, 10);
    ESwitchButton* trashcan = button (70, 10);
    ESwitchButton* feedback = button (10, 70);
    ESwitchButton* highcut = button (70, 70);
    ASSERT_TRUE (delayTime && trashcan && feedback && highcut);
    EXPECT_EQ (delayTime->getBounds(), juce::Rectangle<int> (0, 0, 54, 54));
    EXPECT_EQ (highcut->getBounds(), juce::Rectangle<int> (60, 60, 54, 54));
    EXPECT_EQ (delayTime->getValue(), 1.0f);

    delayTime->mouseUp (mouseAt (*delayTime, 5, 5)); // the lit one stays lit
    EXPECT_EQ (delayTime->getValue(), 1.0f);
    trashcan->mouseUp (mouseAt (*trashcan, 5, 5));
    EXPECT_EQ (trashcan->getValue(), 1.0f);
    EXPECT_EQ (delayTime->getValue(), 0.0f);
    highcut->mouseUp (mouseAt (*highcut, 80, 5)); // released outside: nothing
    EXPECT_EQ (modes.reported, (std::vector<int> { 3, 2 }));
    EXPECT_EQ (chooser.getMode(), 2);
    EXPECT_EQ (feedback->getValue() + highcut->getValue(), 0.0f);
}
