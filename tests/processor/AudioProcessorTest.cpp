// SPDX-License-Identifier: GPL-3.0-or-later
#include "processor/NadrixAudioProcessor.h"
#include "engine/NadrixViewdata.h"
#include "processor/FactoryPrograms.h"
#include "tests/processor/ProcessorTestHelpers.h"

#include <gtest/gtest.h>

#include <cmath>

namespace nadrix
{
namespace
{
    constexpr int activeOf (int line) { return 7 + 7 * line + 5; }

    // The processor's clock for the 200 ms rule, moved by the test.
    juce::uint32 now = 1000;
    juce::uint32 testClock() { return now; }
}

TEST (ProcessorRouting, HostWritesAreAppliedOnceQueuedOnlyWithAnEditorAndNeverEchoed)
{
    NadrixAudioProcessor p;
    HostListener host;
    p.addListener (&host);
    auto& pan = *p.getParameters()[7 + 7 * 3];

    pan.setValueNotifyingHost (0.25f); // the host's own write: one notification, from JUCE itself
    EXPECT_EQ (p.getParameterValue (7 + 7 * 3), 0.25f);
    EXPECT_EQ (p.getViewData()[3].pan.load(), -0.5f);
    EXPECT_EQ (host.changes.size(), 1u);
    EXPECT_FALSE (p.hasParamChanges()); // no editor: nothing queued

    p.setUIPresent (true); // with a window, queued for it (the queue's own rules are tested with it)
    pan.setValueNotifyingHost (0.8f);
    const auto changes = p.getParamChanges();
    ASSERT_EQ (changes.size(), 1u);
    EXPECT_EQ (changes[0].index, 7 + 7 * 3);
    EXPECT_EQ (changes[0].value, 0.8f);

    p.setUIPresent (false);
    pan.setValueNotifyingHost (0.1f);
    EXPECT_FALSE (p.hasParamChanges());
    p.removeListener (&host);
}

TEST (ProcessorRouting, EditorWritesArePublishedAndNotifiedButNotQueued)
{
    NadrixAudioProcessor p;
    HostListener host;
    p.addListener (&host);
    p.setUIPresent (true);

    p.setParameterFromUI (0, 0.3f, true);
    EXPECT_EQ (p.getParameterValue (0), 0.3f);
    EXPECT_EQ (p.getParameters()[0]->getValue(), 0.3f);
    ASSERT_EQ (host.changes.size(), 1u);
    EXPECT_EQ (host.changes[0], std::make_pair (0, 0.3f));

    p.setParameterFromUI (7 + 4, 0.2f, false);
    EXPECT_EQ (p.getParameters()[7 + 4]->getValue(), 0.2f);
    EXPECT_EQ (p.getViewData()[0].delayTime.load(), (float) (int) (0.2f * 44100.0f) / 44100.0f);
    EXPECT_EQ (host.changes.size(), 1u);
    EXPECT_FALSE (p.hasParamChanges());
    p.removeListener (&host);
}

TEST (ProcessorPrograms, ProgramChangesApplyExceptTheCurrentOneAndRightAfterARestore)
{
    // The values loaded at construction are program 5's, and whichever
    // program is chosen first applies, program 5 too.
    for (int program : { 0, 5 })
    {
        NadrixAudioProcessor first;
        EXPECT_EQ (first.getCurrentProgram(), 5);
        first.setParameterFromUI (1, 0.5f, false);
        first.setCurrentProgram (program);
        EXPECT_EQ (first.getCurrentProgram(), program);
        EXPECT_EQ (first.getParameterValue (1), FactoryPrograms::normalised (program, 1));
    }

    // The 200 ms rule follows a restore only: a clock that reads near zero
    // (it wraps every 49.7 days) holds back no program of a fresh instance.
    now = 5;
    NadrixAudioProcessor p (testClock);
    p.setCurrentProgram (3);
    EXPECT_EQ (p.getCurrentProgram(), 3);
    now = 1000;
    EXPECT_EQ (p.getParameters()[4]->getValue(), 1.0f); // band gains 0, 2, 0

    p.setParameterFromUI (0, 0.01f, false);
    p.setCurrentProgram (3); // already current: the edit stays
    EXPECT_EQ (p.getParameterValue (0), 0.01f);

    for (int outOfRange : { -1, 6, 1000 })
        p.setCurrentProgram (outOfRange);
    EXPECT_EQ (p.getCurrentProgram(), 3);

    const auto saved = stateOf (p);
    p.setStateInformation (saved.getData(), (int) saved.getSize());
    now += 199;
    p.setCurrentProgram (1); // 199 ms after the restore: dropped
    EXPECT_EQ (p.getCurrentProgram(), 3);
    EXPECT_EQ (p.getParameterValue (0), 0.01f);
    now += 1;
    p.setCurrentProgram (1);
    EXPECT_EQ (p.getCurrentProgram(), 1);
    EXPECT_EQ (p.getParameterValue (0), FactoryPrograms::normalised (1, 0));

    // Restored values are no program's: the program shown as current applies
    // again when chosen after a restore, once the 200 ms are past.
    p.setStateInformation (saved.getData(), (int) saved.getSize());
    now += 200;
    p.setCurrentProgram (1);
    EXPECT_EQ (p.getParameterValue (0), FactoryPrograms::normalised (1, 0));
}

TEST (ProcessorState, StateIsExactly1428BytesAndRestoresBitExactly)
{
    NadrixAudioProcessor a, b;
    std::mt19937 rng (5);
    std::uniform_real_distribution<float> unit (0.0f, 1.0f);
    for (int i = 0; i < 357; ++i)
        a.setParameterFromUI (i, unit (rng), false);

    const auto state = stateOf (a);
    ASSERT_EQ (state.getSize(), 1428u);
    float first;
    std::memcpy (&first, state.getData(), 4);
    EXPECT_EQ (first, a.getParameterValue (0)); // little-endian floats, index order, no header

    b.setStateInformation (state.getData(), (int) state.getSize());
    EXPECT_EQ (stateOf (b), state);
    for (int i = 0; i < 357; ++i)
        ASSERT_EQ (b.getParameters()[i]->getValue(), a.getParameterValue (i)) << i;
}

TEST (ProcessorState, ShortLongAndDamagedChunksChangeOnlyWhatTheyValidlyHold)
{
    NadrixAudioProcessor p;
    const auto before = stateOf (p);
    const float eight[] = { 0.1f, 0.2f };
    p.setStateInformation (eight, sizeof (eight));
    EXPECT_EQ (p.getParameterValue (0), 0.1f);
    EXPECT_EQ (p.getParameterValue (1), 0.2f);
    EXPECT_EQ (std::memcmp (static_cast<const char*> (before.getData()) + 8, static_cast<const char*> (stateOf (p).getData()) + 8, 1428 - 8), 0);

    p.setStateInformation (eight, 3); // too short for one value
    p.setStateInformation (nullptr, 100);
    EXPECT_EQ (p.getParameterValue (0), 0.1f);

    // Longer than 357 values: the rest is ignored, nothing is written past the end.
    std::vector<float> longChunk (400, 0.5f);
    p.setStateInformation (longChunk.data(), (int) (longChunk.size() * sizeof (float)));
    EXPECT_EQ (p.getParameterValue (356), 0.5f);
    EXPECT_EQ (stateOf (p).getSize(), 1428u);

    // Damaged values: NaN and infinities keep the current value, the rest are held to 0..1.
    const float damaged[] = { std::nanf (""), INFINITY, 7.0f, -0.25f };
    p.setStateInformation (damaged, sizeof (damaged));
    EXPECT_EQ (p.getParameterValue (0), 0.5f);
    EXPECT_EQ (p.getParameterValue (1), 0.5f);
    EXPECT_EQ (p.getParameterValue (2), 1.0f);
    EXPECT_EQ (p.getParameters()[3]->getValue(), 0.0f);
}

TEST (ProcessorAudio, TheTailIsNoneWithoutLinesAndCappedForEndlessOnes)
{
    NadrixAudioProcessor p;
    for (int j = 0; j < 50; ++j)
        p.setParameterFromUI (activeOf (j), 0.0f, false);
    EXPECT_EQ (p.getTailLengthSeconds(), 0.0);
    p.setParameterFromUI (activeOf (0), 1.0f, false); // a long line at the most feedback rings on
    p.setParameterFromUI (7 + 4, 0.2f, false);
    p.setParameterFromUI (7 + 2, 1.0f, false);
    EXPECT_EQ (p.getTailLengthSeconds(), 60.0);
}
} // namespace nadrix
