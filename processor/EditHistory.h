// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/ParameterLayout.h"

#include <juce_data_structures/juce_data_structures.h>

#include <atomic>
#include <functional>
#include <vector>

namespace nadrix
{
// The window's edits, to undo and redo: one transaction per user gesture (a
// drag of one or many dots, a knob or an EQ band, a keyboard step, a line
// made or deleted, a random render), a burst of wheel steps on one control
// counting as one. Each transaction holds, per parameter it wrote, the value
// the window saw before the gesture and the value it left.
//
// The processor keeps it, so a window closed and reopened keeps its history;
// a restored state drops it. Changes from the host are never recorded, and
// an undo writes back exactly the values recorded, whatever the host did in
// between. Message thread only, but for requestDrop.
class EditHistory
{
public:
    using MillisecondClock = juce::uint32 (*)();
    explicit EditHistory (MillisecondClock clock = &juce::Time::getMillisecondCounter);

    // Within a gesture: parameter `index` went from `before` to `after`.
    void record (int index, float before, float after);
    // Ends the gesture: what it recorded becomes one transaction. A gesture
    // of one write to the same parameter as the last, soon after it, joins
    // it (a burst of wheel steps).
    void commit();

    // Writes one value back through the window's own path (host gestures,
    // host notified). Undo and redo call it once per parameter.
    using Write = std::function<void (int index, float value)>;
    bool undo (const Write& write);
    bool redo (const Write& write);
    bool canUndo();
    bool canRedo();
    int getNumTransactions();

    // Any thread: the history is dropped before its next use (a state
    // restored by the host, on whatever thread it calls from).
    void requestDrop() noexcept { dropRequested.store (true, std::memory_order_release); }

    static constexpr int depth = 100;             // transactions kept at least
    static constexpr juce::uint32 burstMs = 600;  // wheel steps closer than this join

    struct Change
    {
        int index;
        float before, after;
    };

private:
    class ParameterEdit;
    void dropIfRequested();

    // Sized in values written: room for `depth` transactions of every value.
    juce::UndoManager manager { depth * ParameterLayout::numParameters, depth };
    std::vector<Change> pending;
    const MillisecondClock clock;
    std::atomic<bool> dropRequested { false };
    const Write* writer = nullptr; // during undo and redo
    int lastSingleIndex = -1;      // the last transaction's parameter, when it wrote only one
    juce::uint32 lastCommitTime = 0;

    JUCE_DECLARE_NON_COPYABLE (EditHistory)
};
} // namespace nadrix
