// SPDX-License-Identifier: GPL-3.0-or-later
#include "EditorTestKit.h"
#include "ProductLinks.h"
#include "RandomRender.h"

#include <gtest/gtest.h>

TEST (Editor, OpensAtItsSizeWithEveryControlInPlaceAndTheZoomWrittenBack)
{
    EditorSession s;
    ASSERT_NE (s.editor, nullptr);
    EXPECT_EQ (s.editor->getWidth(), 850);
    EXPECT_EQ (s.editor->getHeight(), 596);

    auto in = s.inspect();
    EXPECT_EQ (in.zoom().getBounds(), juce::Rectangle<int> (530, 445, 270, 16));
    EXPECT_EQ (in.eq().getBounds(), juce::Rectangle<int> (21, 464, 325, 111));
    EXPECT_EQ (in.mix().getBounds(), juce::Rectangle<int> (378, 473, 90, 90));
    EXPECT_EQ (in.tailTime().getBounds(), juce::Rectangle<int> (509, 500, 130, 15));
    EXPECT_EQ (in.renderButton().getBounds(), juce::Rectangle<int> (658, 533, 33, 30));
    EXPECT_EQ (in.aboutButton().getBounds(), juce::Rectangle<int> (720, 524, 110, 54));
    EXPECT_EQ (in.helpButton().getBounds(), juce::Rectangle<int> (720, 466, 104, 45));
    EXPECT_EQ (s.editor->getLocalArea (&in.view(), in.view().getLocalBounds()), juce::Rectangle<int> (20, 39, 810, 420));

    // Program 5 stores zoom 1: the view opens at 11.4, and 1 is written back once.
    EXPECT_FLOAT_EQ (in.view().getZoom(), 11.4f);
    ASSERT_EQ (s.host.changes.size(), 1u);
    EXPECT_EQ (s.host.changes[0], std::make_pair (6, 1.0f));
    EXPECT_EQ (in.mix().getValue(), s.processor.getParameterValue (0));
    EXPECT_EQ (in.eq().midGain, 2.0f * s.processor.getParameterValue (4));
    EXPECT_EQ (in.complexity().getValue(), 0.3f);
    EXPECT_EQ (in.roomSize().getValue(), 0.5f);
    EXPECT_EQ (in.predelay().getValue(), 0.1f);
}

TEST (Editor, HostChangesReachTheControlsInOneTickAndOnlyTheZoomIsWrittenBack)
{
    EditorSession s;
    auto in = s.inspect();
    s.host.changes.clear();

    s.hostWrites (0, 0.25f);
    s.hostWrites (3, 0.75f);
    s.hostWrites (6, 0.3f);
    ASSERT_EQ (s.host.changes.size(), 3u); // the host's own three writes
    s.editor->timerCallback();

    EXPECT_EQ (in.mix().getValue(), 0.25f);
    EXPECT_EQ (in.eq().lowGain, 1.5f);
    EXPECT_EQ (in.zoom().getValue(), 0.3f);
    EXPECT_FLOAT_EQ (in.view().getZoom(), 4.4f);
    ASSERT_EQ (s.host.changes.size(), 4u);
    EXPECT_EQ (s.host.changes.back(), std::make_pair (6, 0.3f));
    EXPECT_EQ (s.editor->getFanRepaintRequests(), 0); // globals only: the fan is not redrawn
    EXPECT_FALSE (s.processor.hasParamChanges());     // the write-back is not queued again
}

TEST (Editor, HundredsOfLineChangesCauseOneRedraw)
{
    EditorSession s;
    for (int i = 7; i < 357; ++i)
        s.hostWrites (i, 0.5f);
    s.editor->timerCallback();
    EXPECT_EQ (s.editor->getFanRepaintRequests(), 1);
    s.editor->timerCallback(); // nothing new: nothing happens
    EXPECT_EQ (s.editor->getFanRepaintRequests(), 1);
}

TEST (Editor, EditsAreWrittenAtTheirIndexWithHostNotification)
{
    EditorSession s;
    s.host.changes.clear();
    s.editor->setPan (-1.0f, 0);
    s.editor->setPan (1.0f, 49);
    s.editor->setPredelayTime (0.2f, 3);
    s.editor->setDelayTime (0.3f, 3);
    s.editor->setFeedback (0.4f, 3);
    s.editor->setHighcutGain (0.6f, 3);
    s.editor->setDelayActive (0.5f, 3);
    s.editor->setPredelayGain (0.7f, 3);
    const std::vector<std::pair<int, float>> expected { { 7, 0.0f }, { 350, 1.0f }, { 31, 0.2f }, { 32, 0.3f },
                                                        { 30, 0.4f }, { 29, 0.6f }, { 33, 0.5f }, { 34, 0.7f } };
    EXPECT_EQ (s.host.changes, expected);
    EXPECT_FALSE (s.processor.hasParamChanges()); // the editor's own writes are not queued back to it

    // Double-clicks reset to 0 through the same path.
    auto in = s.inspect();
    in.mix().mouseDoubleClick (mouseAt (in.mix(), 45, 45, 2));
    in.zoom().mouseDoubleClick (mouseAt (in.zoom(), 10, 8, 2));
    EXPECT_EQ (s.processor.getParameterValue (0), 0.0f);
    EXPECT_EQ (s.processor.getParameterValue (6), 0.0f);
    EXPECT_FLOAT_EQ (in.view().getZoom(), 1.4f);

    s.editor->editModeChanged (Trashcan);
    EXPECT_EQ (in.view().getEditMode(), Trashcan);
}

TEST (Editor, RandomRenderWritesEveryRunningLineThenStopsTheRest)
{
    EditorSession s;
    s.host.changes.clear();
    std::srand (1234);
    s.editor->buttonClicked (&s.inspect().renderButton());

    // Start values: complexity 0.3 gives 15 lines, 7 writes each, then 35 stops.
    ASSERT_EQ (s.host.changes.size(), 7u * 15u + 35u);
    const int kinds[] = { 2, 6, 1, 4, 0, 3, 5 };
    for (int j = 0; j < 15; ++j)
        for (int k = 0; k < 7; ++k)
            ASSERT_EQ (s.host.changes[(size_t) (7 * j + k)].first, 7 + 7 * j + kinds[k]);
    for (int j = 15; j < 50; ++j)
        EXPECT_EQ (s.host.changes[(size_t) (105 + j - 15)], std::make_pair (7 + 7 * j + 5, 0.0f));
    EXPECT_EQ (s.editor->getFanRepaintRequests(), 1);

    // The first line from the same draws: pan, scatter, delay, high cut, gain, feedback.
    std::srand (1234);
    float r[6];
    for (auto& v : r)
        v = randomRenderDraw();
    EXPECT_EQ (s.processor.getParameterValue (7), r[0]);
    EXPECT_EQ (s.processor.getParameterValue (11), (float) ((double) (r[2] * 0.5f) * 0.22 + (double) 0.005f));
    EXPECT_EQ (s.processor.getParameterValue (9), (float) (0.2 * 0.5 + (double) r[5] * 0.3 + 0.15));
    for (int j = 0; j < 15; ++j)
    {
        const float pre = s.processor.getParameterValue (7 + 7 * j + 3), delay = s.processor.getParameterValue (7 + 7 * j + 4);
        EXPECT_GE (pre, 0.031f);
        EXPECT_LE (pre, 0.14099f);
        EXPECT_GE (delay, 0.005f);
        EXPECT_LE (delay, 0.11499f);
    }
}

TEST (RandomRender, LimitsAndLineCounts)
{
    auto render = [] (RandomRenderSettings settings) {
        std::vector<std::pair<int, float>> writes;
        renderRandomReverb (settings, [&writes] (int i, float v) { writes.push_back ({ i, v }); });
        return writes;
    };
    auto running = [] (const std::vector<std::pair<int, float>>& writes) {
        int n = 0;
        for (const auto& [i, v] : writes)
            n += (i - 7) % 7 == 5 && v == 1.0f ? 1 : 0;
        return n;
    };

    EXPECT_EQ (running (render ({ 0.0f, 0.5f, 0.1f, 0.2f })), 1);
    EXPECT_EQ (running (render ({ 0.02f, 0.5f, 0.1f, 0.2f })), 1);
    EXPECT_EQ (running (render ({ 1.0f, 0.5f, 0.1f, 0.2f })), 50);
    EXPECT_EQ (running (render ({ 0.3f, 0.5f, 0.1f, 0.2f })), 15);

    // Room size 1 and pre-delay 1: every line ends within 0.54 s.
    for (const float c : { 1.0f })
    {
        const auto writes = render ({ c, 1.0f, 1.0f, 0.2f });
        for (int j = 0; j < 50; ++j)
        {
            const float delay = writes[(size_t) (7 * j + 3)].second, pre = writes[(size_t) (7 * j + 5)].second;
            EXPECT_LE (pre + delay, 0.54f + 1e-6f);
        }
    }

    // Room size 0: every delay is 0.005 s.
    const auto still = render ({ 0.1f, 0.0f, 0.5f, 0.2f });
    EXPECT_EQ (still[3].second, 0.005f);
}

TEST (Editor, ButtonsOpenTheirAddressesAndAFailureChangesNothing)
{
    EditorSession s;
    std::vector<juce::String> opened;
    s.editor->openDocument = [&opened] (const juce::String& address) {
        opened.push_back (address);
        return false; // no handler on this machine
    };
    auto in = s.inspect();
    for (auto* button : { &in.aboutButton(), &in.helpButton() })
    {
        button->mouseDown (mouseAt (*button, 5, 5));
        button->mouseUp (mouseAt (*button, 5, 5));
    }
    EXPECT_EQ (opened, (std::vector<juce::String> { ProductLinks::productPage, ProductLinks::manual }));
}

TEST (Editor, ClosingAndReopeningKeepsEverythingButStopsTheQueue)
{
    EditorSession s;
    auto in = s.inspect();
    in.complexity().setValue (0.9f);
    s.editor->setDelayTime (0.123f, 2);

    juce::MemoryBlock before;
    s.processor.getStateInformation (before);
    const float mix = s.processor.getParameterValue (0);
    s.editor.reset();
    s.hostWrites (0, 0.4f); // no editor: nothing queued
    EXPECT_FALSE (s.processor.hasParamChanges());
    s.hostWrites (0, mix);

    for (int round = 0; round < 20; ++round)
    {
        s.open();
        s.editor.reset();
    }
    s.open();
    juce::MemoryBlock after;
    s.processor.getStateInformation (after);
    EXPECT_EQ (after, before);
    EXPECT_EQ (s.inspect().complexity().getValue(), 0.3f); // the randomizer starts afresh

    // Two windows at once (some hosts do that): closing one keeps feeding the other.
    std::unique_ptr<juce::AudioProcessorEditor> second (s.processor.createEditor());
    second.reset();
    s.hostWrites (0, 0.6f);
    EXPECT_TRUE (s.processor.hasParamChanges());
}

TEST (Editor, SnapshotPaintsTheBackgroundAndTheControls)
{
    EditorSession s;
    const auto image = s.editor->createComponentSnapshot (s.editor->getLocalBounds());
    EXPECT_EQ (image.getWidth(), 850);
    // The lit arc of the mix knob (at "Mix" 0.846) at its 9 o'clock point.
    const auto lit = image.getPixelAt (378 + 2, 473 + 45);
    EXPECT_NEAR (lit.getGreen(), 181, 6);
    EXPECT_NEAR (lit.getRed(), 93, 6);
}
