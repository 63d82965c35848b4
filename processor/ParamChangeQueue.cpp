// SPDX-License-Identifier: GPL-3.0-or-later
#include "processor/ParamChangeQueue.h"

#include <cstring>

namespace nadrix
{
// Every atomic step here is sequentially consistent. The order that matters:
// a collection lowers the changed mark before it scans the slots, and a push
// fills its slot before it raises the mark. So a push whose slot the scan
// missed raises the mark after the collection lowered it, and the next poll
// sees it.
namespace
{
    constexpr uint64_t low32 = 0xffffffffu;

    uint64_t packed (uint32_t tag, float value) noexcept
    {
        uint32_t bits;
        std::memcpy (&bits, &value, sizeof bits);
        return ((uint64_t) tag << 32) | bits;
    }

    uint32_t tagOf (uint64_t slot) noexcept { return (uint32_t) (slot >> 32); }

    float valueOf (uint64_t slot) noexcept
    {
        const auto bits = (uint32_t) (slot & low32);
        float value;
        std::memcpy (&value, &bits, sizeof value);
        return value;
    }

    // Raises an atomic to at least `tag`; never lowers it.
    void raiseTo (std::atomic<uint32_t>& mark, uint32_t tag) noexcept
    {
        for (uint32_t seen = mark.load(); seen < tag && ! mark.compare_exchange_weak (seen, tag);)
        {
        }
    }
}

ParamChangeQueue::ParamChangeQueue()
{
    for (auto& slot : slots)
        slot.store (0);
}

//==============================================================================
void ParamChangeQueue::attachReader() noexcept
{
    // One step for the count and the session, so two windows opening and
    // closing on two threads cannot leave the session closed under an open window.
    for (uint64_t seen = readers.load();;)
    {
        const auto open = (uint32_t) (seen & low32), session = (uint32_t) (seen >> 32);
        const uint64_t next = ((uint64_t) (open == 0 ? session + 1 : session) << 32) | (open + 1);
        if (readers.compare_exchange_weak (seen, next))
            return;
    }
}

void ParamChangeQueue::detachReader() noexcept
{
    for (uint64_t seen = readers.load();;)
    {
        const auto open = (uint32_t) (seen & low32), session = (uint32_t) (seen >> 32);
        if (open == 0)
            return;
        const uint64_t next = ((uint64_t) (open == 1 ? session + 1 : session) << 32) | (open - 1);
        if (readers.compare_exchange_weak (seen, next))
            return;
    }
}

bool ParamChangeQueue::hasReader() const noexcept
{
    return openSession() != 0;
}

uint32_t ParamChangeQueue::openSession() const noexcept
{
    const auto session = (uint32_t) (readers.load() >> 32);
    return (session & 1) != 0 ? session : 0;
}

//==============================================================================
void ParamChangeQueue::push (int index, float value) noexcept
{
    if (index < 0 || index >= ParameterLayout::numParameters)
        return;

    const uint32_t session = openSession();
    if (session == 0)
        return;

    // A slot already tagged by a later session belongs to that session: this
    // push saw a window that has since closed, and is dropped.
    const uint32_t tag = pendingTag (session);
    auto& slot = slots[index];
    for (uint64_t seen = slot.load(); tagOf (seen) <= tag;)
        if (slot.compare_exchange_weak (seen, packed (tag, value)))
        {
            raiseTo (changed, tag);
            return;
        }
}

bool ParamChangeQueue::hasChanges() const noexcept
{
    const uint32_t session = openSession();
    return session != 0 && changed.load() == pendingTag (session);
}

bool ParamChangeQueue::takePending (int index, uint32_t session, float& value) noexcept
{
    auto& slot = slots[index];
    for (uint64_t seen = slot.load(); tagOf (seen) == pendingTag (session);)
        if (slot.compare_exchange_weak (seen, packed (collectedTag (session), valueOf (seen))))
        {
            value = valueOf (seen);
            return true;
        }
    return false;
}

std::vector<Param> ParamChangeQueue::takeAll (bool keep)
{
    const juce::ScopedLock sl (collectLock);
    std::vector<Param> changes;

    const uint32_t session = openSession();
    if (session == 0)
        return changes;

    // Lowered before the scan (see the top of this file).
    uint32_t expected = pendingTag (session);
    changed.compare_exchange_strong (expected, collectedTag (session));

    for (int i = 0; i < ParameterLayout::numParameters; ++i)
    {
        float value;
        if (takePending (i, session, value) && keep)
            changes.push_back ({ i, value });
    }
    return changes;
}

std::vector<Param> ParamChangeQueue::collect()
{
    return takeAll (true);
}

void ParamChangeQueue::clear()
{
    takeAll (false);
}
} // namespace nadrix
