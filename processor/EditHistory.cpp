// SPDX-License-Identifier: GPL-3.0-or-later
#include "processor/EditHistory.h"

#include <algorithm>
#include <utility>

namespace nadrix
{
// One transaction's values. Performed once by the gesture itself, so the
// first perform writes nothing; later ones (redo) write the values it left.
class EditHistory::ParameterEdit final : public juce::UndoableAction
{
public:
    ParameterEdit (EditHistory& h, std::vector<Change> c) : history (h), changes (std::move (c)) {}

    bool perform() override
    {
        if (std::exchange (firstPerform, false))
            return true;
        for (const auto& c : changes)
            (*history.writer) (c.index, c.after);
        return true;
    }

    bool undo() override
    {
        for (const auto& c : changes)
            (*history.writer) (c.index, c.before);
        return true;
    }

    int getSizeInUnits() override { return (int) changes.size(); }

    // A later wheel step on the same parameter: one edit from the first
    // step's before to the last one's after.
    UndoableAction* createCoalescedAction (UndoableAction* next) override
    {
        auto* later = dynamic_cast<ParameterEdit*> (next);
        if (later == nullptr || changes.size() != 1 || later->changes.size() != 1 || later->changes[0].index != changes[0].index)
            return nullptr;
        auto* joined = new ParameterEdit (history, { { changes[0].index, changes[0].before, later->changes[0].after } });
        joined->firstPerform = false;
        return joined;
    }

private:
    EditHistory& history;
    std::vector<Change> changes;
    bool firstPerform = true;
};

EditHistory::EditHistory (MillisecondClock c) : clock (c) {}

void EditHistory::record (int index, float before, float after)
{
    // The first write keeps the value before the gesture, the last the value after it.
    for (auto& c : pending)
        if (c.index == index)
        {
            c.after = after;
            return;
        }
    pending.push_back ({ index, before, after });
}

void EditHistory::commit()
{
    dropIfRequested();
    // Writes that changed nothing leave nothing to undo.
    pending.erase (std::remove_if (pending.begin(), pending.end(), [] (const Change& c) { return c.before == c.after; }), pending.end());
    if (pending.empty())
        return;

    const auto now = clock();
    const int single = pending.size() == 1 ? pending[0].index : -1;
    const bool joinsBurst = single >= 0 && single == lastSingleIndex && now - lastCommitTime < burstMs && ! manager.canRedo();
    if (! joinsBurst)
        manager.beginNewTransaction ("Edit");
    manager.perform (new ParameterEdit (*this, std::exchange (pending, {})));

    lastSingleIndex = single;
    lastCommitTime = now;
}

bool EditHistory::undo (const Write& write)
{
    dropIfRequested();
    const juce::ScopedValueSetter<const Write*> during (writer, &write);
    lastSingleIndex = -1; // the next wheel step starts a transaction of its own
    return manager.undo();
}

bool EditHistory::redo (const Write& write)
{
    dropIfRequested();
    const juce::ScopedValueSetter<const Write*> during (writer, &write);
    lastSingleIndex = -1;
    return manager.redo();
}

bool EditHistory::canUndo()
{
    dropIfRequested();
    return manager.canUndo();
}

bool EditHistory::canRedo()
{
    dropIfRequested();
    return manager.canRedo();
}

int EditHistory::getNumTransactions()
{
    dropIfRequested();
    return manager.getUndoDescriptions().size();
}

void EditHistory::dropIfRequested()
{
    if (! dropRequested.exchange (false, std::memory_order_acquire))
        return;
    manager.clearUndoHistory();
    pending.clear();
    lastSingleIndex = -1;
}
} // namespace nadrix
