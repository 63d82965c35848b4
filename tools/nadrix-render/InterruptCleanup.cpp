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
    // Read by the signal handler: fixed buffers, and lock-free atomic flags.
    constexpr int places = 64;

    struct Place
    {
        std::atomic<bool> taken { false };
        std::atomic<bool> armed { false };
        char path[4096];
    };
    Place registered[places];
    static_assert (std::atomic<bool>::is_always_lock_free);

    extern "C" void removeAndEnd (int signalNumber)
    {
        for (auto& place : registered)
            if (place.armed.load())
                ::unlink (place.path);
        std::signal (signalNumber, SIG_DFL);
        std::raise (signalNumber);
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

int InterruptCleanup::removeOnInterrupt (const juce::File& temporary)
{
    for (int i = 0; i < places; ++i)
    {
        bool expected = false;
        if (! registered[i].taken.compare_exchange_strong (expected, true))
            continue;
        std::strncpy (registered[i].path, temporary.getFullPathName().toRawUTF8(), sizeof (registered[i].path) - 1);
        registered[i].path[sizeof (registered[i].path) - 1] = 0;
        registered[i].armed.store (true);
        return i;
    }
    return -1;
}

void InterruptCleanup::forget (int registration)
{
    if (registration < 0 || registration >= places)
        return;
    registered[registration].armed.store (false);
    registered[registration].taken.store (false);
}
} // namespace nadrix
