// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <juce_core/juce_core.h>

namespace nadrix
{
// What an interrupted render leaves behind: nothing. On SIGINT, SIGTERM or
// SIGHUP every file being written under its temporary name is removed before
// the program ends as the signal would end it; a file already in place is
// left as it was. Renders on several threads each register their own files,
// as many at once as they like.
namespace InterruptCleanup
{
    using Registration = void*;

    void install();
    // Returns the registration to forget once the file is in place or gone.
    Registration removeOnInterrupt (const juce::File& temporary);
    void forget (Registration registration);
}
} // namespace nadrix
