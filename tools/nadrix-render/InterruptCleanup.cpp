// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/nadrix-render/InterruptCleanup.h"

#include <atomic>
#include <csignal>
#include <cstring>
#include <unistd.h>

namespace nadrix
{
namespace
{
    // Read by the signal handler: a list that only grows, of places each
    // holding one path, taken and given back with lock-free atomic flags.
    // A place is made (off the handler) when every one is taken, so any
    // number of files can be registered at once; places are never freed.
    struct Place
    {
        std::atomic<bool> taken { false };
        std::atomic<bool> armed { false };
        char path[4096];
        Place* next = nullptr;
    };
    std::atomic<Place*> places { nullptr };
    static_assert (std::atomic<bool>::is_always_lock_free && std::atomic<Place*>::is_always_lock_free);

    extern "C" void removeAndEnd (int signalNumber)
    {
        for (auto* place = places.load(); place != nullptr; place = place->next)
            if (place->armed.load())
                ::unlink (place->path);
        std::signal (signalNumber, SIG_DFL);
        std::raise (signalNumber);
    }

    Place* takePlace()
    {
        for (auto* place = places.load(); place != nullptr; place = place->next)
        {
            bool expected = false;
            if (place->taken.compare_exchange_strong (expected, true))
                return place;
        }
        auto* fresh = new Place();
        fresh->taken.store (true);
        fresh->next = places.load();
        while (! places.compare_exchange_weak (fresh->next, fresh))
        {
        }
        return fresh;
    }
}

void InterruptCleanup::install()
{
#if defined(SIGHUP)
    for (int signalNumber : { SIGINT, SIGTERM, SIGHUP })
#else
    for (int signalNumber : { SIGINT, SIGTERM }) // Windows has no hang-up signal
#endif
        std::signal (signalNumber, removeAndEnd);
}

InterruptCleanup::Registration InterruptCleanup::removeOnInterrupt (const juce::File& temporary)
{
    auto* place = takePlace();
    std::strncpy (place->path, temporary.getFullPathName().toRawUTF8(), sizeof (place->path) - 1);
    place->path[sizeof (place->path) - 1] = 0;
    place->armed.store (true);
    return place;
}

void InterruptCleanup::forget (Registration registration)
{
    auto* place = static_cast<Place*> (registration);
    if (place == nullptr)
        return;
    place->armed.store (false);
    place->taken.store (false);
}
} // namespace nadrix
