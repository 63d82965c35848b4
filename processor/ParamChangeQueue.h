// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "processor/Param.h"
#include "engine/ParameterLayout.h"

#include <juce_core/juce_core.h>

#include <atomic>
#include <cstdint>
#include <vector>

namespace nadrix
{
// Parameter changes waiting for the editor windows. Any thread may add one,
// the audio thread included, so adding never locks, allocates or waits: each
// parameter has a slot holding its latest value. The windows collect the
// changed slots in index order, each with the newest value it was given.
//
// Changes are kept only while a window is open, and each opening starts a
// new session: the queue is empty when a window opens, and empty when the
// last one closes, however the host's threads interleave with either. A push
// that saw the session that has since ended is tagged with that session and
// is never seen by a later one, so it needs no clearing to be gone.
class ParamChangeQueue
{
public:
    ParamChangeQueue();

    // A window opens or closes. Counted, so that a host that opens a second
    // window before closing the first keeps feeding the one still open; a
    // close without an open is ignored.
    void attachReader() noexcept;
    void detachReader() noexcept;
    bool hasReader() const noexcept;

    // Any thread. Ignored while no window is open.
    void push (int index, float value) noexcept;

    bool hasChanges() const noexcept;
    std::vector<Param> collect();
    void clear();

private:
    // A slot's tag: 2 s + 1 while it holds a change of session s not yet
    // collected, 2 s once collected. Tags only ever grow, so a late push
    // from an old session cannot overwrite a newer session's change.
    static uint32_t pendingTag (uint32_t session) noexcept { return 2 * session + 1; }
    static uint32_t collectedTag (uint32_t session) noexcept { return 2 * session; }
    uint32_t openSession() const noexcept; // 0 while no window is open
    bool takePending (int index, uint32_t session, float& value) noexcept;
    std::vector<Param> takeAll (bool keep);

    // Tag in the high 32 bits, the value's bits in the low 32: one atomic word.
    std::atomic<uint64_t> slots[ParameterLayout::numParameters];
    // The highest tag pushed: tells "something changed" without a scan.
    std::atomic<uint32_t> changed { 0 };
    // Session number in the high 32 bits (odd while a window is open, raised
    // at every opening and every closing), open windows in the low 32.
    std::atomic<uint64_t> readers { 0 };
    juce::CriticalSection collectLock; // between collectors only; never taken by push

    JUCE_DECLARE_NON_COPYABLE (ParamChangeQueue)
};
} // namespace nadrix
