// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/nadrix-render/RenderOptions.h"

#include <functional>
#include <optional>
#include <vector>

namespace nadrix
{
// Every option nadrix-render takes, declared once: its names, the value it
// takes, what it does (the text --help and the manual print) and how it
// sets the options. The command line is read by this table, and the usage
// texts are made from it.
struct RenderOption
{
    using Error = std::optional<juce::String>;
    using Apply = std::function<Error (RenderOptions&, const juce::String& value)>;

    const char* name;    // "--tail"
    const char* alias;   // "--output" for "-o", or nullptr
    const char* value;   // "SECONDS", or nullptr for an option without a value
    const char* help;    // what it does, one paragraph
    Apply apply;

    // The option named so (by its name or its alias), or null.
    static const RenderOption* find (const juce::String& name);
    static const std::vector<RenderOption>& all();
    // The forms of the command, as --help's usage lines show them.
    static const juce::StringArray& usageForms();
    // A path as typed: from the current folder unless it starts at the root.
    static juce::File pathOf (const juce::String& argument);
};
} // namespace nadrix
