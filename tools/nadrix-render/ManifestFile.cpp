// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/nadrix-render/ManifestFile.h"

#include "tools/nadrix-render/FileIdentity.h"

#include <iostream>
#include <map>
#include <optional>
#include <string>

namespace nadrix
{
namespace
{
    std::string readAllOfStandardInput()
    {
        std::string text, line;
        while (std::getline (std::cin, line))
            text += line + "\n";
        return text;
    }

    std::string readAllOf (const juce::File& file)
    {
        juce::MemoryBlock bytes;
        file.loadFileAsData (bytes);
        return std::string (static_cast<const char*> (bytes.getData()), bytes.getSize());
    }

    // The manifest's text: UTF-8, with or without its byte-order mark. Other
    // bytes JUCE cannot hold as paths (see Main.cpp).
    std::optional<juce::String> asText (std::string bytes)
    {
        if (bytes.rfind ("\xef\xbb\xbf", 0) == 0)
            bytes.erase (0, 3);
        if (bytes.find ('\0') != std::string::npos || ! juce::CharPointer_UTF8::isValidString (bytes.c_str(), (int) bytes.size()))
            return std::nullopt;
        return juce::String::fromUTF8 (bytes.data(), (int) bytes.size());
    }

    // The line's own options, after the command line's so that they win.
    juce::StringArray argumentsFor (const juce::StringArray& columns, const juce::StringArray& common)
    {
        auto args = common;
        args.addArray ({ "-o", columns[1] });
        if (columns.size() > 2 && columns[2].isNotEmpty() && columns[2] != "-")
            args.addArray ({ "--program", columns[2] });
        if (columns.size() > 3 && columns[3].isNotEmpty() && columns[3] != "-")
            args.addArray ({ "--random", columns[3] });
        if (columns.size() > 4 && columns[4].isNotEmpty() && columns[4] != "-")
            args.addArray ({ "--random-settings", columns[4] });
        args.addArray ({ "--", columns[0] }); // an input whose name starts with '-' is still a file
        return args;
    }
}

std::variant<std::vector<RenderOptions>, Outcome> readManifest (const RenderOptions& options)
{
    const auto name = options.manifestIsStandardInput ? juce::String ("the manifest on standard input") : "the manifest '" + options.manifest.getFullPathName() + "'";
    if (! options.manifestIsStandardInput && ! options.manifest.existsAsFile())
        return Outcome::files ("cannot read " + name + ": no such file");
    const auto readText = asText (options.manifestIsStandardInput ? readAllOfStandardInput() : readAllOf (options.manifest));
    if (! readText.has_value())
        return Outcome::usage (name + " is not UTF-8 text");
    const auto& text = *readText;

    std::vector<RenderOptions> jobs;
    // Every file a line reads or writes, by its identity (links, "./" and
    // hard links resolved): the line that reads or writes it first.
    std::map<juce::String, int> read, written;
    int render = 0, lineNumber = 0;
    for (const auto& rawLine : juce::StringArray::fromLines (text))
    {
        ++lineNumber;
        const auto line = rawLine.trimCharactersAtEnd ("\r");
        if (line.trim().isEmpty() || line.trimStart().startsWithChar ('#'))
            continue;
        ++render;

        const auto where = name + ", line " + juce::String (lineNumber);
        const auto columns = juce::StringArray::fromTokens (line, "\t", "");
        if (columns.size() < 2 || columns.size() > 5 || columns[0].isEmpty() || columns[1].isEmpty())
            return Outcome::usage (where + ": give IN and OUT, then optionally PROGRAM, SEED and SETTINGS, separated by tabs");

        const auto parsed = RenderOptions::parse (argumentsFor (columns, options.jobArguments));
        if (const auto* error = std::get_if<juce::String> (&parsed))
            return Outcome::usage (where + ": " + *error);
        const auto& job = std::get<RenderOptions> (parsed);
        if (job.isBatch() || job.outputIsStandardOutput || job.inputIsStandardInput)
            return Outcome::usage (where + ": each line renders one file into one file");

        // No line may write what any line reads or writes, before or after it.
        const auto output = fileIdentityKey (job.output);
        const auto outputName = "'" + writeThroughLinks (job.output).getFullPathName() + "'";
        if (const auto clash = written.find (output); clash != written.end())
            return Outcome::usage (where + " and line " + juce::String (clash->second) + " would both write " + outputName);
        if (const auto clash = read.find (output); clash != read.end())
            return Outcome::usage (where + " would write " + outputName + ", which line " + juce::String (clash->second) + " reads");
        for (const auto& input : { job.input, job.stateFile })
        {
            if (input == juce::File())
                continue;
            const auto key = fileIdentityKey (input);
            if (const auto clash = written.find (key); clash != written.end())
                return Outcome::usage (where + " reads '" + input.getFullPathName() + "', which line " + juce::String (clash->second) + " writes");
            read.emplace (key, lineNumber);
        }
        if (read.count (output) != 0)
            return Outcome::usage (where + " would write " + outputName + ", which it reads");
        written[output] = lineNumber;

        if ((render - 1) % options.shards == options.shard - 1)
            jobs.push_back (job);
    }
    if (render == 0)
        return Outcome::usage (name + " holds no renders");
    return jobs;
}
} // namespace nadrix
