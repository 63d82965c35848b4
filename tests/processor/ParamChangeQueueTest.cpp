// SPDX-License-Identifier: GPL-3.0-or-later
#include "processor/ParamChangeQueue.h"

#include <gtest/gtest.h>

namespace nadrix
{
TEST (ParamChangeQueue, KeepsChangesOnlyWithinOneWindowSession)
{
    ParamChangeQueue q;
    q.push (3, 0.25f); // no window: dropped
    EXPECT_FALSE (q.hasReader());
    EXPECT_FALSE (q.hasChanges());

    q.attachReader();
    EXPECT_FALSE (q.hasChanges()); // a window starts with an empty queue
    EXPECT_TRUE (q.collect().empty());
    q.push (9, 0.5f);
    q.push (3, 0.1f);
    q.push (9, 0.75f);
    q.push (357, 1.0f); // no such parameter
    q.push (-1, 1.0f);
    ASSERT_TRUE (q.hasChanges());
    const auto changes = q.collect();
    ASSERT_EQ (changes.size(), 2u); // index order, newest value per parameter
    EXPECT_EQ (changes[0].index, 3);
    EXPECT_EQ (changes[0].value, 0.1f);
    EXPECT_EQ (changes[1].index, 9);
    EXPECT_EQ (changes[1].value, 0.75f);
    EXPECT_FALSE (q.hasChanges());

    // A second window keeps the session going; only the last close ends it.
    q.push (5, 0.5f);
    q.attachReader();
    q.detachReader();
    EXPECT_TRUE (q.hasChanges());
    q.push (6, 0.5f);
    q.clear();
    EXPECT_FALSE (q.hasChanges());
    q.push (7, 0.5f);
    q.detachReader();
    EXPECT_FALSE (q.hasChanges()); // closed: nothing left behind
    q.detachReader();              // an unmatched close is ignored...
    q.attachReader();              // ...so this opens a fresh session
    EXPECT_TRUE (q.hasReader());
    EXPECT_FALSE (q.hasChanges()); // the change pushed before the close is gone
    EXPECT_TRUE (q.collect().empty());
}
} // namespace nadrix
