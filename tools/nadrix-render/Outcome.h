// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <juce_core/juce_core.h>

namespace nadrix
{
// How a nadrix-render step ended: fine, or a one-line message with the exit
// code of its kind. A usage error (2) is a command line that cannot mean
// anything; an input/output error (1) is a file that cannot be read, is
// damaged (under --strict), or must not be written.
struct Outcome
{
    enum Code { success = 0, inputOutputError = 1, usageError = 2 };

    Code code = success;
    juce::String message;

    static Outcome ok() { return {}; }
    static Outcome usage (const juce::String& why) { return { usageError, why }; }
    static Outcome files (const juce::String& why) { return { inputOutputError, why }; }

    bool failed() const noexcept { return code != success; }
};
} // namespace nadrix
