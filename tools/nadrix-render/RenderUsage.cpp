// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/nadrix-render/RenderUsage.h"

#include "tools/nadrix-render/RenderOptionTable.h"

namespace nadrix
{
namespace
{
    const char* const description =
        "Reverberates IN (any file libsndfile reads: WAV, RF64, AIFF, FLAC, Ogg Vorbis, Opus, MP3, ...; mono or stereo) through "
        "Nadrix at the file's own sample rate, as a host would, and writes OUT as a stereo file of the kind its extension names, "
        "with the whole reverb tail. Settings apply in this order: --state, --program, --random, then each --set. Options take "
        "their value as the next argument or after '=' (--tail=2); -- ends the options.";

    const char* const streams =
        "IN - reads standard input as it arrives (WAV, AIFF, FLAC, Ogg Vorbis, Opus and MP3; other kinds are first copied whole "
        "into $TMPDIR, or /tmp). -o - (standard output), a FIFO or a character device is written as the render runs, in little "
        "memory: WAV with its sizes marked unknown, as pipes carry it, FLAC, Ogg and MP3 as they are coded; only AIFF, which "
        "states its length before its audio, is made whole in $TMPDIR first. A reader that stops early ends the render with "
        "status 1. Messages then go to standard error.";

    const char* const safety =
        "Nothing is ever written over the input, the state read, or another file of the same run (compared as the files the "
        "paths lead to, through links, ./ spellings and hard links); a read-only output is refused, a symbolic link is written "
        "through, and an interrupted run (Ctrl-C, SIGTERM) leaves no file. Input samples that are not finite numbers or lie "
        "beyond +36 dBFS run as silence, and their count is reported.";

    const char* const exitStatus =
        "0 done; 1 a file could not be read or written, or was refused (damaged under --strict, empty, the same as another, "
        "read-only, a rate its kind cannot hold, a reader that stopped early; in a batch, any file; for --analyze or --plot, a "
        "silent impulse response); 2 the command line itself is wrong (an unknown option or value, no input, two inputs or "
        "manifest lines that would write the same file, or one that writes what another reads).";

    // Words filled into lines of at most `width` characters, each begun with `indent`.
    juce::String wrapped (const juce::String& text, const juce::String& indent, int width)
    {
        juce::String out, line;
        for (const auto& word : juce::StringArray::fromTokens (text, " ", ""))
        {
            if (line.isNotEmpty() && indent.length() + line.length() + 1 + word.length() > width)
            {
                out << indent << line << "\n";
                line.clear();
            }
            line << (line.isEmpty() ? "" : " ") << word;
        }
        if (line.isNotEmpty())
            out << indent << line << "\n";
        return out;
    }

    juce::String namesOf (const RenderOption& o)
    {
        return juce::String (o.name) + (o.alias != nullptr ? juce::String (", ") + o.alias : juce::String())
             + (o.value != nullptr ? juce::String (" ") + o.value : juce::String());
    }

    // The manual's markup: a dash is \-, options bold, placeholders italic.
    juce::String roff (const juce::String& text) { return text.replace ("\\", "\\\\").replace ("-", "\\-"); }

    juce::String styledWord (const juce::String& word)
    {
        const auto core = word.trimCharactersAtStart ("[").trimCharactersAtEnd ("].");
        if (core.isEmpty() || core == "|")
            return roff (word);
        const auto before = word.upToFirstOccurrenceOf (core, false, false), after = word.fromFirstOccurrenceOf (core, false, false);
        const bool option = core.startsWithChar ('-');
        const bool placeholder = ! option && core.containsAnyOf ("ABCDEFGHIJKLMNOPQRSTUVWXYZ") && core.toUpperCase() == core;
        const auto style = option ? "\\fB" : placeholder ? "\\fI" : "";
        return roff (before) + style + roff (core) + (option || placeholder ? "\\fR" : "") + roff (after);
    }

    juce::String manSynopsis()
    {
        juce::String out;
        for (const auto& form : RenderOption::usageForms())
        {
            out << (out.isEmpty() ? "" : ".br\n") << ".B nadrix-render\n";
            juce::StringArray words;
            for (const auto& word : juce::StringArray::fromTokens (form.fromFirstOccurrenceOf ("nadrix-render ", false, false), " \n", "\""))
                if (word.isNotEmpty())
                    words.add (styledWord (word));
            out << words.joinIntoString (" ") << "\n";
        }
        return out;
    }

    juce::String manOptions()
    {
        juce::String out;
        for (const auto& o : RenderOption::all())
        {
            out << ".TP\n\\fB" << roff (o.name) << "\\fR";
            if (o.alias != nullptr)
                out << ", \\fB" << roff (o.alias) << "\\fR";
            if (o.value != nullptr)
                out << " \\fI" << roff (o.value) << "\\fR";
            out << "\n" << roff (o.help) << "\n";
        }
        return out;
    }
}

juce::String RenderUsage::help()
{
    juce::String text;
    for (int i = 0; i < RenderOption::usageForms().size(); ++i)
        text << (i == 0 ? "usage: " : "       ") << RenderOption::usageForms()[i].replace ("\n", "\n       ") << "\n";
    text << "\n" << wrapped (description, {}, 100) << "\n" << wrapped (streams, {}, 100) << "\n" << wrapped (safety, {}, 100) << "\nOptions:\n";
    for (const auto& o : RenderOption::all())
        text << "  " << namesOf (o) << "\n" << wrapped (o.help, "      ", 100);
    return text << "\n" << wrapped (juce::String ("Exit status: ") + exitStatus, {}, 100);
}

juce::String RenderUsage::shortHelp()
{
    return "usage: nadrix-render IN -o OUT [settings]     reverberate IN (- reads standard input, -o - writes standard output)\n"
           "       nadrix-render --demo [-o OUT]           the built-in demo signal\n"
           "       nadrix-render --help                    every option\n";
}

juce::String RenderUsage::manualPage (const juce::String& manualTemplate)
{
    return manualTemplate.replace ("@SYNOPSIS@\n", manSynopsis())
        .replace ("@OPTIONS@\n", manOptions())
        .replace ("@STREAMS@\n", roff (streams) + "\n")
        .replace ("@SAFETY@\n", roff (safety) + "\n")
        .replace ("@EXIT_STATUS@\n", roff (exitStatus) + "\n");
}
} // namespace nadrix
