// SPDX-License-Identifier: GPL-3.0-or-later
#include "processor/EditHistory.h"

#include <gtest/gtest.h>

#include <map>

namespace nadrix
{
namespace
{
    juce::uint32 now = 0;
    juce::uint32 testClock() { return now; }
}

TEST (EditHistory, AWheelBurstIsOneTransactionAndTheDepthIsAtLeastAHundred)
{
    EditHistory history (&testClock);
    std::map<int, float> written;
    const EditHistory::Write write = [&written] (int index, float value) { written[index] = value; };
    auto step = [&history] (int index, float before, float after, juce::uint32 at) {
        now = at;
        history.record (index, before, after);
        history.commit();
    };

    // Three wheel steps on the mix, each soon after the last, then one on
    // the mix after a pause, then one on another control at once.
    step (0, 0.50f, 0.55f, 1000);
    step (0, 0.55f, 0.60f, 1000 + EditHistory::burstMs - 1);
    step (0, 0.60f, 0.65f, 1000 + 2 * EditHistory::burstMs - 2);
    step (0, 0.65f, 0.70f, 5000);
    step (3, 0.20f, 0.30f, 5001);
    EXPECT_EQ (history.getNumTransactions(), 3);

    ASSERT_TRUE (history.undo (write));
    EXPECT_EQ (written, (std::map<int, float> { { 3, 0.20f } }));
    ASSERT_TRUE (history.undo (write));
    EXPECT_EQ (written[0], 0.65f);
    ASSERT_TRUE (history.undo (write));
    EXPECT_EQ (written[0], 0.50f); // the burst back to where it began
    EXPECT_FALSE (history.undo (write));
    ASSERT_TRUE (history.redo (write));
    EXPECT_EQ (written[0], 0.65f);

    // A step that changes nothing is no transaction; a new edit drops what could be redone.
    step (0, 0.65f, 0.65f, 9000);
    step (1, 0.1f, 0.2f, 9001);
    EXPECT_FALSE (history.canRedo());
    EXPECT_EQ (history.getNumTransactions(), 2);

    for (int i = 0; i < 150; ++i)
        step (i % 300, 0.0f, 1.0f, 20000 + (juce::uint32) i * 1000);
    EXPECT_GE (history.getNumTransactions(), EditHistory::depth);

    history.requestDrop();
    EXPECT_FALSE (history.canUndo());
}
} // namespace nadrix
