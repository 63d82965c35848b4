// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/nadrix-render/AudioFileType.h"
#include "ui/editor/RandomRender.h"

#include <juce_core/juce_core.h>

#include <optional>
#include <variant>
#include <utility>
#include <vector>

namespace nadrix
{
// What a nadrix-render command line asks for, checked for form and meaning:
// programs and parameters are known by then. Whether the files can be read
// or written is checked when they are used.
struct RenderOptions
{
    juce::File input;                  // none: standard input or the demo signal
    bool inputIsStandardInput = false; // IN is "-"
    bool demo = false;                 // --demo: the built-in demo signal
    juce::File output;
    bool outputIsStandardOutput = false; // -o -
    AudioFileType outputType = AudioFileType::wav(); // by -o's extension, or --type
    std::vector<juce::File> batchInputs; // -o names a folder: every input, each into it as NAME.EXT
    juce::File manifest;               // --manifest FILE: one render per line
    bool manifestIsStandardInput = false; // --manifest -
    int shard = 1, shards = 1;         // --shard K/N: the manifest's lines K, K + N, K + 2N, ...
    juce::StringArray jobArguments;    // the command line without --manifest and --shard, for each line's render
    int threads = 0;                   // 0: as many as the machine has cores
    bool showProgress = true;          // on a terminal; a batch shows its own
    int program = -1;                  // 0..5, or -1: none
    juce::File stateFile;
    std::optional<juce::uint32> randomSeed; // --random SEED: a random reverb, the window's, from this seed
    RandomRenderSettings randomSettings;    // --random-settings, the window's RANDOMIZER sliders
    bool randomSettingsGiven = false;
    std::vector<std::pair<int, float>> settings; // --set Name=value: parameter index and normalised value, in order
    std::optional<double> tailSeconds; // none: the reverb's own tail
    std::optional<double> gainDb;      // --gain: every output sample multiplied by this
    std::optional<double> normalizeDbfs; // --normalize: the output's peak brought here
    int blockSize = 512;
    int bitsPerSample = 32;            // the output type's most, unless --bits says
    bool strict = false;               // a damaged input is refused rather than rendered as far as it goes
    juce::File saveStateFile;
    juce::File snapshotFile;           // set: paint the editor window into this PNG instead of rendering
    juce::File impulseFile;            // set: write the impulse response of the settings here
    bool analyze = false;              // print the decay analysis of the impulse response
    bool json = false;                 // ... as JSON
    juce::File plotFile;               // set: draw the decay analysis into this PNG
    double impulseRate = 44100.0;      // the impulse response's sample rate (--rate)
    bool wetOnly = false;              // the impulse response with Mix at 1, the reverb alone
    enum class Channel { both, left, right };
    Channel analysisChannel = Channel::both; // --channel: what --analyze and --plot measure
    bool rateGiven = false;
    std::optional<AudioFileType> typeGiven; // --type
    juce::StringArray notices;         // what the command line asked for that is used otherwise (a clamped --set)
    bool bitsGiven = false;
    bool channelGiven = false;
    bool listPrograms = false;
    bool listParameters = false;
    bool showHelp = false;
    bool showVersion = false;

    bool isBatch() const noexcept { return ! batchInputs.empty(); }
    bool hasManifest() const noexcept { return manifest != juce::File() || manifestIsStandardInput; }
    // --impulse, --analyze or --plot: the impulse response of the settings, no input file.
    bool isImpulse() const noexcept { return impulseFile != juce::File() || analyze || plotFile != juce::File(); }
    // --threads, or the machine's cores.
    int threadCount() const;

    // Parses argv; on failure returns the reason (a usage error).
    static std::variant<RenderOptions, juce::String> parse (const juce::StringArray& args);
    static juce::String version();
};
} // namespace nadrix
