// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <juce_core/juce_core.h>

namespace nadrix
{
// What a path given as an output is, as the system finds it (through any
// link): a file, or a name for a new one, is written beside and moved into
// place when whole; a FIFO or a character device (a pipe's end, /dev/null,
// /dev/stdout) is a stream, written as the render runs and never replaced;
// anything else (a folder, a socket, a block device) is not written at all.
struct OutputTarget
{
    enum class Kind { file, stream, directory, refused };

    static OutputTarget of (const juce::File& path);

    Kind kind;
    // For a refused kind, what it is ("a socket").
    juce::String what;
};
} // namespace nadrix
