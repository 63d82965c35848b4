#pragma once

#include <juce_core/juce_core.h>

#include <optional>
#include <variant>
#include <utility>
#include <vector>

// What a nadrix-render command line asks for, checked for form; whether the
// files exist or the names are known is checked when they are used.
struct RenderOptions
{
    juce::File input;                  // none: the built-in demo signal
    juce::File output;
    juce::String program;              // a number 0..5 or a program name; empty: none
    juce::File stateFile;
    std::vector<std::pair<int, float>> settings; // --set Name=value: parameter index and normalised value, in order
    std::optional<double> tailSeconds; // none: the reverb's own tail
    int blockSize = 512;
    int bitsPerSample = 32;
    juce::File saveStateFile;
    juce::File snapshotFile;           // set: paint the editor window into this PNG instead of rendering
    bool listPrograms = false;
    bool listParameters = false;
    bool showHelp = false;

    // Parses argv; on failure returns the reason.
    static std::variant<RenderOptions, juce::String> parse (const juce::StringArray& args);
    static juce::String usage();
};
