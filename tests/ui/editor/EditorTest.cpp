// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/ui/editor/EditorTestKit.h"
#include "ui/editor/ProductLinks.h"
#include "ui/editor/RandomRender.h"
#include "ui/editor/SeededDraws.h"
#include "engine/ParameterLayout.h"

#include <gtest/gtest.h>

namespace nadrix
{
TEST (Editor, OpensWithTheProcessorsValuesAndWritesTheZoomBackOnce)
{
    EditorSession s;
    auto in = s.inspect();
    // Program 5 stores zoom 1: the view opens at 11.4, and 1 is written back once.
    EXPECT_FLOAT_EQ (in.view().getZoom(), 11.4f);
    EXPECT_EQ (s.host.changes, (std::vector<std::pair<int, float>> { { 6, 1.0f } }));
    EXPECT_EQ (in.mix().getValue(), s.processor.getParameterValue (0));
    EXPECT_EQ (in.eq().midGain, 2.0f * s.processor.getParameterValue (4));
    EXPECT_EQ (in.complexity().getValue(), 0.3f);
    EXPECT_EQ (in.tailTime().getValue(), 0.2f);
}

TEST (Editor, HostChangesReachTheControlsInOneTickWithOneRedrawForAnyNumberOfLines)
{
    EditorSession s;
    auto in = s.inspect();
    s.host.changes.clear();

    s.hostWrites (0, 0.25f);
    s.hostWrites (3, 0.75f);
    s.hostWrites (6, 0.3f);
    s.editor->timerCallback();
    EXPECT_EQ (in.mix().getValue(), 0.25f);
    EXPECT_EQ (in.eq().lowGain, 1.5f);
    EXPECT_FLOAT_EQ (in.view().getZoom(), 4.4f);
    EXPECT_EQ (s.host.changes.size(), 4u); // the host's three writes and the zoom's write-back
    EXPECT_EQ (s.inspect().fanRepaintRequests(), 0); // globals only: the fan is not redrawn
    s.editor->timerCallback();
    EXPECT_EQ (s.host.changes.size(), 4u); // the write-back is not shown, nor written, again

    for (int i = 7; i < ParameterLayout::numParameters; ++i)
        s.hostWrites (i, 0.5f);
    s.editor->timerCallback();
    s.editor->timerCallback(); // nothing new: nothing happens
    EXPECT_EQ (s.inspect().fanRepaintRequests(), 1);
}

TEST (Editor, EveryEditIsWrittenAtItsIndexWithHostNotification)
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
    s.editor->timerCallback(); // the editor's own writes change nothing more when it looks
    EXPECT_EQ (s.host.changes, expected);

    // The equaliser writes the parameter it moved: a low-band drag moves "Gain Low".
    auto in = s.inspect();
    s.host.changes.clear();
    in.eq().mouseDown (mouseAt (in.eq(), 10, 60));
    in.eq().mouseDrag (mouseAt (in.eq(), 10, 40));
    in.eq().mouseUp (mouseAt (in.eq(), 10, 40));
    ASSERT_EQ (s.host.changes.size(), 1u);
    EXPECT_EQ (s.host.changes[0].first, 3);
    EXPECT_EQ (s.host.changes[0].second, in.eq().lowGain * 0.5f);

    // Double-clicks reset to 0 through the same path.
    in.mix().mouseDoubleClick (mouseAt (in.mix(), 45, 45, 2));
    in.zoom().mouseDoubleClick (mouseAt (in.zoom(), 10, 8, 2));
    EXPECT_EQ (s.processor.getParameterValue (0), 0.0f);
    EXPECT_EQ (s.processor.getParameterValue (6), 0.0f);
    EXPECT_FLOAT_EQ (in.view().getZoom(), 1.4f);

    s.editor->editModeChanged (EditMode::Trashcan);
    EXPECT_EQ (in.view().getEditMode(), EditMode::Trashcan);
}

TEST (RandomRender, WritesEveryRunningLineThenStopsTheRestWithinItsLimits)
{
    EditorSession s;
    s.host.changes.clear();
    s.editor->nextRandomSeed = [] { return 1234u; };
    s.editor->buttonClicked (&s.inspect().renderButton());

    // Start values: complexity 0.3 gives 15 lines, 7 writes each, then 35 stops.
    ASSERT_EQ (s.host.changes.size(), 7u * 15u + 35u);
    const int kinds[] = { 2, 6, 1, 4, 0, 3, 5 };
    for (int j = 0; j < 15; ++j)
        for (int k = 0; k < 7; ++k)
            ASSERT_EQ (s.host.changes[(size_t) (7 * j + k)].first, ParameterLayout::indexOf (j, kinds[k]));
    EXPECT_EQ (s.host.changes.back(), std::make_pair (ParameterLayout::indexOf (49, ParameterLayout::active), 0.0f));
    EXPECT_EQ (s.inspect().fanRepaintRequests(), 1);

    auto render = [] (RandomRenderSettings settings, std::uint32_t seed = 1) {
        std::vector<std::pair<int, float>> writes;
        SeededDraws draws (seed);
        renderRandomReverb (settings, [&writes] (int i, float v) { writes.push_back ({ i, v }); }, std::ref (draws));
        return writes;
    };

    // The room is the one its seed makes anywhere, and the tooltip says how
    // to make it again, with settings that read back exactly.
    const juce::String tooltip = s.inspect().renderButton().getTooltip();
    const auto command = tooltip.fromFirstOccurrenceOf ("--random-settings ", false, false).upToFirstOccurrenceOf (" ", false, false);
    const auto parts = juce::StringArray::fromTokens (command, ",", "");
    ASSERT_EQ (parts.size(), 4) << tooltip;
    const RandomRenderSettings told { std::stof (parts[3].toStdString()), std::stof (parts[1].toStdString()),
                                      std::stof (parts[2].toStdString()), std::stof (parts[0].toStdString()) };
    EXPECT_TRUE (tooltip.contains ("seed 1234 (nadrix-render --random 1234 ")) << tooltip;
    EXPECT_EQ (s.host.changes, render (told, 1234));
    EXPECT_EQ (told.complexity, s.inspect().complexity().getValue());
    auto running = [] (const std::vector<std::pair<int, float>>& writes) {
        int n = 0;
        for (const auto& [i, v] : writes)
            n += (i - 7) % 7 == 5 && v == 1.0f ? 1 : 0;
        return n;
    };
    EXPECT_EQ (running (render ({ 0.0f, 0.5f, 0.1f, 0.2f })), 1);
    EXPECT_EQ (running (render ({ 1.0f, 0.5f, 0.1f, 0.2f })), 50);

    const auto longest = render ({ 1.0f, 1.0f, 1.0f, 0.2f }); // every line ends within 0.54 s
    for (int j = 0; j < 50; ++j)
        EXPECT_LE (longest[(size_t) (7 * j + 3)].second + longest[(size_t) (7 * j + 5)].second, 0.54f + 1e-6f);
    EXPECT_EQ (render ({ 0.1f, 0.0f, 0.5f, 0.2f })[3].second, 0.005f); // room size 0: every delay 5 ms
}

TEST (Editor, ButtonsOpenTheirAddressesAndClosingKeepsEverything)
{
    EditorSession s;
    std::vector<juce::String> opened;
    s.editor->openDocument = [&opened] (const juce::String& address) {
        opened.push_back (address);
        return false; // no handler on this machine: nothing else happens
    };
    auto in = s.inspect();
    for (auto* button : { &in.aboutButton(), &in.helpButton() })
    {
        button->mouseDown (mouseAt (*button, 5, 5));
        button->mouseUp (mouseAt (*button, 5, 5));
    }
    EXPECT_EQ (opened, (std::vector<juce::String> { ProductLinks::productPage, ProductLinks::manual }));

    in.complexity().setValue (0.9f);
    s.editor->setDelayTime (0.123f, 2);
    const auto before = stateOf (s.processor);
    const float mix = s.processor.getParameterValue (0);
    s.editor.reset();
    s.hostWrites (0, 0.4f); // while no window is open
    s.open();
    EXPECT_EQ (s.inspect().mix().getValue(), 0.4f); // a window opens with what is held now
    s.hostWrites (0, mix);

    for (int round = 0; round < 20; ++round)
        s.open();
    EXPECT_EQ (stateOf (s.processor), before);
    EXPECT_EQ (s.inspect().complexity().getValue(), 0.3f); // the randomizer starts afresh

    // Two windows at once (some hosts do that): closing one leaves the other showing the host's changes.
    std::unique_ptr<juce::AudioProcessorEditor> second (s.processor.createEditor());
    second.reset();
    s.hostWrites (0, 0.6f);
    s.editor->timerCallback();
    EXPECT_EQ (s.inspect().mix().getValue(), 0.6f);
}

TEST (Editor, AReadoutShowsTheTooltipsTextAtOnceWhileAValueChangesAndGoesAfter)
{
    EditorSession s;
    auto in = s.inspect();
    auto& mix = in.mix();
    EXPECT_FALSE (in.readout().isVisible());

    // A drag: shown from the first move with the tooltip's text, through the release.
    mix.mouseDown (mouseAt (mix, 45, 60));
    mix.mouseDrag (mouseAt (mix, 45, 40));
    EXPECT_TRUE (in.readout().isVisible());
    EXPECT_EQ (in.readout().getText(), mix.getTooltip());
    mix.mouseDrag (mouseAt (mix, 45, 20));
    EXPECT_EQ (in.readout().getText(), mix.getTooltip());
    mix.mouseUp (mouseAt (mix, 45, 20));
    EXPECT_TRUE (in.readout().isVisible());
    in.readoutLingeringEnds();
    EXPECT_FALSE (in.readout().isVisible());

    // A keyboard step on the equaliser: the band it steps, as its tooltip describes it.
    auto& eq = static_cast<juce::Component&> (in.eq());
    eq.keyPressed (juce::KeyPress (juce::KeyPress::upKey));
    EXPECT_EQ (in.readout().getText(), in.eq().describe (in.eq().selectedBand));
    EXPECT_TRUE (in.readout().getText().isNotEmpty());

    // A dot of the fan: the line as the fan's tooltip describes it.
    s.editor->beginEditGesture();
    s.editor->setDelayTime (0.3f, 4);
    EXPECT_EQ (in.readout().getText(), s.editor->describeLine (4));
    s.editor->endEditGesture();
    in.readoutLingeringEnds();
    EXPECT_FALSE (in.readout().isVisible());
}
} // namespace nadrix
