// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <atomic>
#include <memory>

namespace nadrix
{
// Hands objects built on another thread to the audio thread, and takes back
// the ones they replace, so that the audio thread never allocates, frees,
// locks or waits. One thread at a time offers (callers serialise offers);
// only the audio thread takes.
template <typename T>
class AudioThreadHandover
{
public:
    AudioThreadHandover() = default;
    ~AudioThreadHandover() { collect(); delete pending.exchange (nullptr); }

    AudioThreadHandover (const AudioThreadHandover&) = delete;
    AudioThreadHandover& operator= (const AudioThreadHandover&) = delete;

    // Not the audio thread. An offer the audio thread has not taken yet is
    // replaced, and freed here.
    void offer (std::unique_ptr<T> fresh)
    {
        collect();
        delete pending.exchange (fresh.release(), std::memory_order_acq_rel);
    }

    // Not the audio thread: frees what the audio thread has handed back.
    void collect()
    {
        for (auto& slot : returned)
            delete slot.exchange (nullptr, std::memory_order_acquire);
    }

    // Audio thread: the object on offer, if any, or null. The caller hands
    // back the object the new one replaces with giveBack, in the same block.
    T* take() noexcept
    {
        // Taken only when a return slot is free. Between two collections the
        // audio thread takes at most two offers (the one made before the
        // collection and the one made after), so one is always free.
        if (freeSlot() == nullptr || pending.load (std::memory_order_relaxed) == nullptr)
            return nullptr;
        return pending.exchange (nullptr, std::memory_order_acq_rel);
    }

    void giveBack (T* replaced) noexcept
    {
        if (auto* slot = freeSlot())
            slot->store (replaced, std::memory_order_release);
    }

private:
    std::atomic<T*>* freeSlot() noexcept
    {
        for (auto& slot : returned)
            if (slot.load (std::memory_order_acquire) == nullptr)
                return &slot;
        return nullptr;
    }

    std::atomic<T*> pending { nullptr };
    std::atomic<T*> returned[2] { { nullptr }, { nullptr } };
};
} // namespace nadrix
