// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/nadrix-render/RenderOptions.h"

#include "tools/nadrix-render/FileIdentity.h"
#include "tools/nadrix-render/NearestName.h"
#include "tools/nadrix-render/RenderOptionTable.h"

#include <map>

namespace nadrix
{
namespace
{
    using Error = RenderOption::Error;

    juce::String suggestionFor (const juce::String& option)
    {
        // -v and -V are how other programs ask their version.
        if (option == "-v" || option == "-V")
            return " (did you mean '--version'?)";
        juce::StringArray known;
        for (const auto& o : RenderOption::all())
        {
            known.add (o.name);
            if (o.alias != nullptr)
                known.add (o.alias);
        }
        return didYouMean (option, known);
    }

    // What a command line gives, as the rules below see it.
    struct Given
    {
        const RenderOptions& o;
        bool output;                           // -o
        const std::vector<juce::File>& inputs; // the input files named
        bool anyInput() const { return ! inputs.empty() || o.inputIsStandardInput || o.demo; }
        bool onlyLists() const { return o.showHelp || o.showVersion || o.listPrograms || o.listParameters; }
        bool renders() const { return anyInput() || o.hasManifest(); }
    };

    // The rules options keep with each other, checked in this order: the
    // first one broken is the command line's usage error.
    struct Rule
    {
        bool (*broken) (const Given&);
        const char* says;
    };

    const Rule rules[] = {
        { [] (const Given& g) { return g.o.demo && (! g.inputs.empty() || g.o.inputIsStandardInput); },
          "--demo renders the built-in demo signal; give no input file with it" },
        { [] (const Given& g) { return g.o.inputIsStandardInput && ! g.inputs.empty(); },
          "- reads the input from standard input; give no other input file with it" },
        { [] (const Given& g) { return g.o.outputIsStandardOutput && (g.o.isBatch() || g.inputs.size() > 1); },
          "-o - writes one render to standard output; several inputs go into a folder: -o FOLDER/" },
        { [] (const Given& g) { return g.o.json && ! g.o.analyze; }, "--json prints the analysis as JSON: give it with --analyze" },
        { [] (const Given& g) { return (g.o.wetOnly || g.o.rateGiven) && ! g.o.isImpulse(); },
          "--rate and --wet-only go with --impulse, --analyze or --plot" },
        { [] (const Given& g) { return g.o.channelGiven && ! g.o.analyze && g.o.plotFile == juce::File(); }, "--channel goes with --analyze or --plot" },
        { [] (const Given& g) { return g.o.shards > 1 && ! g.o.hasManifest(); }, "--shard splits a --manifest" },
        { [] (const Given& g) { return g.o.randomSettingsGiven && ! g.o.randomSeed.has_value() && ! g.o.hasManifest(); },
          "--random-settings goes with --random SEED" },
        { [] (const Given& g) { return g.o.gainDb.has_value() && g.o.normalizeDbfs.has_value(); },
          "--gain and --normalize each set the output's level; give one of them" },
        { [] (const Given& g) { return (g.o.gainDb.has_value() || g.o.normalizeDbfs.has_value()) && ! g.renders(); },
          "--gain and --normalize set the level of a render: give an input, --demo or --manifest" },
        { [] (const Given& g) { return g.o.normalizeDbfs.has_value() && (g.o.inputIsStandardInput || g.o.manifestIsStandardInput); },
          "--normalize renders twice, the first time to find the peak, and standard input can be read once: give an input file" },
        { [] (const Given& g) { return g.o.snapshotFile != juce::File() && (g.anyInput() || g.output); },
          "--snapshot paints the window only; give no input or output file with it" },
        { [] (const Given& g) { return ! g.output && ! g.onlyLists() && (! g.inputs.empty() || g.o.inputIsStandardInput); }, "missing -o OUT" },
        { [] (const Given& g) { return ! g.anyInput() && ! g.output && ! g.o.isImpulse() && g.o.snapshotFile == juce::File() && ! g.o.hasManifest() && ! g.onlyLists(); },
          "nothing to render: give an input file and -o OUT, - for standard input, --demo or --manifest" },
        { [] (const Given& g) { return g.output && ! g.anyInput() && ! g.o.isImpulse(); },
          "-o needs something to render: an input file, - for standard input, or --demo" },
        { [] (const Given& g) { return g.inputs.size() > 1 && ! g.o.isBatch(); }, "several inputs go into a folder: give -o FOLDER/" },
        { [] (const Given& g) { return g.o.isBatch() && g.o.saveStateFile != juce::File(); },
          "--save-state saves one render's state; give it without a folder of outputs" },
        { [] (const Given& g) { return g.o.isImpulse() && (g.anyInput() || g.output || g.o.snapshotFile != juce::File()); },
          "--impulse, --analyze and --plot use the impulse response of the settings; give no input, -o or --snapshot with them" },
        { [] (const Given& g) { return g.o.hasManifest() && (g.anyInput() || g.output || g.o.isImpulse() || g.o.snapshotFile != juce::File() || g.o.saveStateFile != juce::File()); },
          "--manifest names each render's input and output; give no input, -o, --demo, --impulse, --snapshot or --save-state with it" },
    };

    Error checkCombination (const RenderOptions& o, bool haveOutput, const std::vector<juce::File>& inputs)
    {
        const Given given { o, haveOutput, inputs };
        for (const auto& rule : rules)
            if (rule.broken (given))
                return juce::String (rule.says);
        return {};
    }

    // The kind of file each output is: --type, or the output's extension.
    Error chooseTypes (RenderOptions& o, bool haveOutput)
    {
        const auto typeOf = [&o] (const juce::File& file, const juce::String& option) -> std::variant<AudioFileType, juce::String> {
            if (o.typeGiven.has_value())
                return *o.typeGiven;
            if (const auto type = AudioFileType::ofFile (file))
                return *type;
            return "cannot tell what kind of file " + option + " '" + file.getFileName() + "' is to be: give it one of the extensions "
                 + AudioFileType::extensions() + ", or --type";
        };

        auto chosen = std::variant<AudioFileType, juce::String> (o.typeGiven.value_or (AudioFileType::wav()));
        if (haveOutput && ! o.isBatch() && ! o.outputIsStandardOutput)
            chosen = typeOf (o.output, "-o");
        else if (o.impulseFile != juce::File())
            chosen = typeOf (o.impulseFile, "--impulse");
        if (const auto* error = std::get_if<juce::String> (&chosen))
            return *error;
        o.outputType = std::get<AudioFileType> (chosen);

        if (! o.bitsGiven)
            o.bitsPerSample = o.outputType.defaultBits();
        else if (! o.outputType.holdsBits (o.bitsPerSample))
            return o.outputType.lossy ? "--bits does not apply to " + juce::String (o.outputType.title) + " files"
                                      : "--bits " + juce::String (o.bitsPerSample) + ": " + o.outputType.title + " files hold " + o.outputType.bitsHeld();
        return {};
    }

    // "-o DIR/" (or an existing folder) asks for a batch: one output per input, named after it.
    Error arrangeBatch (RenderOptions& o, const juce::String& outputArgument, const std::vector<juce::File>& inputs)
    {
        if (! outputArgument.endsWithChar ('/') && ! isFolder (o.output))
        {
            o.input = inputs.empty() ? juce::File() : inputs.front();
            return {};
        }
        if (inputs.empty())
            return "-o " + outputArgument + " is a folder: give the input files to render into it";

        std::map<juce::String, juce::File> outputs;
        for (const auto& in : inputs)
        {
            const auto name = in.getFileNameWithoutExtension() + o.typeGiven.value_or (AudioFileType::wav()).extension();
            if (const auto clash = outputs.find (name); clash != outputs.end())
                return "'" + clash->second.getFullPathName() + "' and '" + in.getFullPathName() + "' would both be written to " + name;
            outputs[name] = in;
        }
        o.batchInputs = inputs;
        return {};
    }
}

juce::String RenderOptions::version()
{
    return "nadrix-render " NADRIX_VERSION "\n";
}

int RenderOptions::threadCount() const
{
    return threads > 0 ? threads : juce::jmax (1, juce::SystemStats::getNumCpus());
}

std::variant<RenderOptions, juce::String> RenderOptions::parse (const juce::StringArray& args)
{
    RenderOptions o;
    bool haveOutput = false;
    juce::String outputArgument;
    std::vector<juce::File> inputs;

    bool optionsEnded = false;
    for (int i = 0; i < args.size(); ++i)
    {
        auto arg = args[i];
        if (optionsEnded || ! arg.startsWith ("-"))
        {
            inputs.push_back (RenderOption::pathOf (arg));
            continue;
        }
        if (arg == "--")
        {
            optionsEnded = true;
            continue;
        }
        if (arg == "-")
        {
            if (o.inputIsStandardInput)
                return "- (standard input) can be given once";
            o.inputIsStandardInput = true;
            continue;
        }

        // "--name=value" is "--name value".
        std::optional<juce::String> attached;
        if (arg.startsWith ("--") && arg.containsChar ('='))
        {
            attached = arg.fromFirstOccurrenceOf ("=", false, false);
            arg = arg.upToFirstOccurrenceOf ("=", false, false);
        }
        const auto* option = RenderOption::find (arg);
        if (option == nullptr)
            return "unknown option '" + arg + "'" + suggestionFor (arg);
        arg = option->name;
        if (option->value == nullptr && attached.has_value())
            return arg + " takes no value";
        if (option->value != nullptr && ! attached.has_value() && i + 1 >= args.size())
            return arg + " needs a value";
        const auto value = option->value == nullptr ? juce::String() : attached.has_value() ? *attached : args[++i];
        if (const auto error = option->apply (o, value))
            return *error;
        if (arg == "-o")
        {
            haveOutput = true;
            outputArgument = value;
        }
        // What each line of a manifest renders with: everything but the manifest itself.
        if (arg != "--manifest" && arg != "--shard")
        {
            o.jobArguments.add (arg);
            if (option->value != nullptr)
                o.jobArguments.add (value);
        }
    }

    if (haveOutput)
        if (const auto error = arrangeBatch (o, outputArgument, inputs))
            return *error;
    if (! haveOutput && ! inputs.empty())
        o.input = inputs.front();
    if (const auto error = checkCombination (o, haveOutput, inputs))
        return *error;
    if (const auto error = chooseTypes (o, haveOutput))
        return *error;
    return o;
}
} // namespace nadrix
