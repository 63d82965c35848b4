// SPDX-License-Identifier: GPL-3.0-or-later
#include "InterruptCleanup.h"

#include <csignal>
#include <cstring>
#include <unistd.h>

namespace
{
    // Read by the signal handler, so a fixed buffer and an atomic flag.
    char temporaryPath[4096];
    volatile std::sig_atomic_t hasTemporary = 0;

    extern "C" void removeAndEnd (int signalNumber)
    {
        if (hasTemporary != 0)
            ::unlink (temporaryPath);
        std::signal (signalNumber, SIG_DFL);
        std::raise (signalNumber);
    }
}

void InterruptCleanup::install()
{
    for (int signalNumber : { SIGINT, SIGTERM, SIGHUP })
        std::signal (signalNumber, removeAndEnd);
}

void InterruptCleanup::removeOnInterrupt (const juce::File& temporary)
{
    hasTemporary = 0;
    std::strncpy (temporaryPath, temporary.getFullPathName().toRawUTF8(), sizeof (temporaryPath) - 1);
    temporaryPath[sizeof (temporaryPath) - 1] = 0;
    hasTemporary = 1;
}

void InterruptCleanup::forget()
{
    hasTemporary = 0;
}
