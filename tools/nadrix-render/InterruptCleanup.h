// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <juce_core/juce_core.h>

// What an interrupted render leaves behind: nothing. On SIGINT, SIGTERM or
// SIGHUP the file being written under its temporary name is removed before
// the program ends as the signal would end it; a file already in place is
// left as it was.
namespace InterruptCleanup
{
    void install();
    void removeOnInterrupt (const juce::File& temporary);
    void forget();
}
