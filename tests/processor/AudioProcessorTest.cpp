// SPDX-License-Identifier: GPL-3.0-or-later
#include "processor/NadrixAudioProcessor.h"
#include "engine/ParameterLayout.h"
#include "processor/FactoryPrograms.h"
#include "tests/processor/ProcessorTestHelpers.h"

#include <gtest/gtest.h>

#include <cmath>

namespace nadrix
{
namespace
{
    constexpr int activeOf (int line) { return ParameterLayout::indexOf (line, ParameterLayout::active); }

    // The processor's clock for the 200 ms rule, moved by the test.
    juce::uint32 now = 1000;
    juce::uint32 testClock() { return now; }
}

TEST (ProcessorRouting, EveryWriteLeavesTheOneStoreAndTheEngineAgreeing)
{
    // Each value lives in its published parameter: the host, the window, a
    // program and a restored state all write it there, and the engine (the
    // window's fan reads it) follows at once.
    using namespace ParameterLayout;
    NadrixAudioProcessor p;
    HostListener host;
    p.addListener (&host);
    auto& parameters = p.getParameters();
    const int pan3 = indexOf (3, pan), delay0 = indexOf (0, delayTime);

    // A host's write: its own notification (JUCE's), the engine at once.
    parameters[pan3]->setValueNotifyingHost (0.25f);
    EXPECT_EQ (p.getParameterValue (pan3), 0.25f);
    EXPECT_EQ (p.getLineView (3).pan, -0.5f);
    EXPECT_EQ (host.changes.size(), 1u);
    // Damaged values: not a number keeps the value, beyond 0..1 is held there.
    parameters[pan3]->setValue (std::nanf (""));
    EXPECT_EQ (p.getParameterValue (pan3), 0.25f);
    parameters[pan3]->setValue (7.0f);
    EXPECT_EQ (parameters[pan3]->getValue(), 1.0f);
    EXPECT_EQ (p.getLineView (3).pan, 1.0f);

    // The window's write: held, in the engine, told to the host once; the
    // host's echo of it changes nothing.
    host.changes.clear();
    p.setParameterFromUI (delay0, 0.2f, true);
    EXPECT_EQ (p.getParameterValue (delay0), 0.2f);
    EXPECT_EQ (p.getLineView (0).delayTime, (float) (int) (0.2f * 44100.0f) / 44100.0f);
    EXPECT_EQ (host.changes, (std::vector<std::pair<int, float>> { { delay0, 0.2f } }));
    parameters[delay0]->setValue (0.2f);
    p.setParameterFromUI (indexOf (0, feedback), 0.4f, false);
    EXPECT_EQ (host.changes.size(), 1u);
    EXPECT_EQ (p.getLineView (0).feedback, 0.4f);

    // A restored state after program changes: every value the state's, in
    // the parameters and in the engine.
    const auto saved = stateOf (p);
    p.setCurrentProgram (2);
    p.setCurrentProgram (1);
    p.setStateInformation (saved.getData(), (int) saved.getSize());
    EXPECT_EQ (stateOf (p), saved);
    EXPECT_EQ (p.getLineView (3).pan, 1.0f);
    EXPECT_EQ (p.getLineView (0).feedback, 0.4f);
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
    for (int i = 0; i < ParameterLayout::numParameters; ++i)
        a.setParameterFromUI (i, unit (rng), false);

    const auto state = stateOf (a);
    ASSERT_EQ (state.getSize(), 1428u);
    float first;
    std::memcpy (&first, state.getData(), 4);
    EXPECT_EQ (first, a.getParameterValue (0)); // little-endian floats, index order, no header

    b.setStateInformation (state.getData(), (int) state.getSize());
    EXPECT_EQ (stateOf (b), state);
    for (int i = 0; i < ParameterLayout::numParameters; ++i)
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
