// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/nadrix-render/RenderOptions.h"

#include "tools/nadrix-render/NearestName.h"
#include "processor/DecimalNumber.h"
#include "processor/FactoryPrograms.h"
#include "processor/ParameterInfo.h"
#include "processor/ParameterText.h"

#include <cmath>
#include <functional>
#include <map>

namespace nadrix
{
namespace
{
    constexpr int maximumBlock = 1 << 20;
    constexpr int maximumThreads = 256;
    constexpr double maximumTail = 3600.0;

    using Error = std::optional<juce::String>;

    // A plain decimal number and nothing else: "0.5x", "0x10", "inf" and ""
    // are not numbers here.
    std::optional<double> parseNumber (const juce::String& text)
    {
        const auto s = text.trim();
        if (s.isEmpty() || ! s.containsOnly ("0123456789.eE+-") || ! s.containsAnyOf ("0123456789"))
            return std::nullopt;

        const char* end = nullptr;
        const auto value = readDecimalNumber (s.toRawUTF8(), &end);
        if (! value.has_value() || *end != 0 || ! std::isfinite (*value))
            return std::nullopt;
        return value;
    }

    // A whole number from 1 to `highest`, or none.
    std::optional<int> parseCount (const juce::String& text, double highest)
    {
        const auto number = parseNumber (text);
        if (! number.has_value() || *number < 1.0 || *number > highest || std::floor (*number) != *number)
            return std::nullopt;
        return (int) *number;
    }

    juce::StringArray parameterNames()
    {
        juce::StringArray names;
        for (int i = 0; i < ParameterLayout::numParameters; ++i)
            names.add (juce::String (ParameterInfo::name (i)));
        return names;
    }

    // A parameter by its name, in any letter case, as programs are found.
    int parameterNamed (const juce::String& name)
    {
        if (const int exact = ParameterInfo::indexOfName (name.toStdString()); exact >= 0)
            return exact;
        return parameterNames().indexOf (name, true);
    }

    // "Name=value": a plain number is the normalised value 0..1 for every
    // parameter; anything else is read as a host reads typed text ("60 %",
    // "250 ms", "L30", "On").
    std::variant<std::pair<int, float>, juce::String> readSetting (const juce::String& setting, juce::StringArray& notices)
    {
        const int equals = setting.indexOfChar ('=');
        if (equals < 0)
            return "--set takes \"Name=value\", not '" + setting + "'";

        const auto name = setting.substring (0, equals).trim();
        const auto text = setting.substring (equals + 1).trim();
        if (name.isEmpty())
            return "--set '" + setting + "' names no parameter";
        const int index = parameterNamed (name);
        if (index < 0)
            return "--set: unknown parameter '" + name + "'" + didYouMean (name, parameterNames()) + "; --list-params lists them";

        const auto example = ParameterText::format (index, 0.5f);
        if (const auto number = parseNumber (text); number.has_value())
        {
            if (*number < 0.0 || *number > 1.0)
                return "--set " + name + ": a plain number is the normalised value from 0 to 1; give other values with their unit, like \"" + example + "\"";
            return std::pair<int, float> { index, (float) *number };
        }

        if (const auto value = ParameterText::parseUnclamped (index, text); value.has_value())
        {
            const auto used = (float) juce::jlimit (0.0, 1.0, *value);
            if (*value < 0.0 || *value > 1.0)
                notices.add ("--set " + name + "=" + text + " is beyond the parameter's range; using " + ParameterText::format (index, used));
            return std::pair<int, float> { index, used };
        }
        return "--set " + name + ": cannot read '" + text + "'; give a number from 0 to 1 or a value like \"" + example + "\"";
    }

    juce::StringArray programNames()
    {
        juce::StringArray names;
        for (int i = 0; i < FactoryPrograms::count; ++i)
            names.add (FactoryPrograms::names[i]);
        return names;
    }

    // A program number 0..5 or a program name (in any letter case).
    std::optional<int> findProgram (const juce::String& numberOrName)
    {
        const auto text = numberOrName.trim();
        if (text.isNotEmpty() && text.containsOnly ("0123456789"))
            return text.length() <= 2 && text.getIntValue() < FactoryPrograms::count ? std::optional<int> (text.getIntValue()) : std::nullopt;

        for (int i = 0; i < FactoryPrograms::count; ++i)
            if (text.equalsIgnoreCase (FactoryPrograms::names[i]))
                return i;
        return std::nullopt;
    }

    // "tail,room,predelay,complexity", each 0..1: the window's RANDOMIZER sliders.
    std::optional<RandomRenderSettings> readRandomSettings (const juce::String& text)
    {
        const auto parts = juce::StringArray::fromTokens (text, ",", "");
        if (parts.size() != 4)
            return std::nullopt;
        float values[4];
        for (int i = 0; i < 4; ++i)
        {
            const auto number = parseNumber (parts[i]);
            if (! number.has_value() || *number < 0.0 || *number > 1.0)
                return std::nullopt;
            values[i] = (float) *number;
        }
        RandomRenderSettings settings;
        settings.tailTime = values[0];
        settings.roomSize = values[1];
        settings.predelay = values[2];
        settings.complexity = values[3];
        return settings;
    }

    juce::File fileFromArgument (const juce::String& path)
    {
        return juce::File::getCurrentWorkingDirectory().getChildFile (path);
    }

    using ValueOption = std::function<Error (RenderOptions&, const juce::String&)>;

    const std::map<juce::String, ValueOption>& valueOptions()
    {
        static const std::map<juce::String, ValueOption> options {
            { "-o", [] (RenderOptions& o, const juce::String& v) -> Error {
                  o.outputIsStandardOutput = v == "-";
                  o.output = o.outputIsStandardOutput ? juce::File() : fileFromArgument (v);
                  return {};
              } },
            { "--type", [] (RenderOptions& o, const juce::String& v) -> Error {
                  o.typeGiven = AudioFileType::named (v);
                  if (! o.typeGiven.has_value())
                      return "--type must be one of " + AudioFileType::names() + ", not '" + v + "'";
                  return {};
              } },
            { "--state", [] (RenderOptions& o, const juce::String& v) -> Error { o.stateFile = fileFromArgument (v); return {}; } },
            { "--save-state", [] (RenderOptions& o, const juce::String& v) -> Error { o.saveStateFile = fileFromArgument (v); return {}; } },
            { "--snapshot", [] (RenderOptions& o, const juce::String& v) -> Error { o.snapshotFile = fileFromArgument (v); return {}; } },
            { "--impulse", [] (RenderOptions& o, const juce::String& v) -> Error { o.impulseFile = fileFromArgument (v); return {}; } },
            { "--plot", [] (RenderOptions& o, const juce::String& v) -> Error { o.plotFile = fileFromArgument (v); return {}; } },
            { "--rate", [] (RenderOptions& o, const juce::String& v) -> Error {
                  const auto number = parseNumber (v);
                  if (! number.has_value() || *number < 8000.0 || *number > 384000.0)
                      return "--rate must be a sample rate from 8000 to 384000 Hz";
                  o.impulseRate = *number;
                  o.rateGiven = true;
                  return {};
              } },
            { "--program", [] (RenderOptions& o, const juce::String& v) -> Error {
                  const auto program = findProgram (v);
                  if (! program.has_value())
                      return "unknown program '" + v + "'" + didYouMean (v, programNames()) + " (see --list-programs)";
                  o.program = *program;
                  return {};
              } },
            { "--set", [] (RenderOptions& o, const juce::String& v) -> Error {
                  const auto setting = readSetting (v, o.notices);
                  if (const auto* error = std::get_if<juce::String> (&setting))
                      return *error;
                  o.settings.push_back (std::get<std::pair<int, float>> (setting));
                  return {};
              } },
            { "--random", [] (RenderOptions& o, const juce::String& v) -> Error {
                  const auto seed = parseNumber (v);
                  if (! seed.has_value() || *seed < 0.0 || *seed > 4294967295.0 || std::floor (*seed) != *seed)
                      return "--random takes a seed, a whole number from 0 to 4294967295";
                  o.randomSeed = (juce::uint32) *seed;
                  return {};
              } },
            { "--random-settings", [] (RenderOptions& o, const juce::String& v) -> Error {
                  if (const auto settings = readRandomSettings (v))
                  {
                      o.randomSettings = *settings;
                      o.randomSettingsGiven = true;
                      return {};
                  }
                  return "--random-settings takes four numbers from 0 to 1, tail,room,predelay,complexity (like 0.2,0.5,0.1,0.3), not '" + v + "'";
              } },
            { "--manifest", [] (RenderOptions& o, const juce::String& v) -> Error {
                  o.manifestIsStandardInput = v == "-";
                  o.manifest = o.manifestIsStandardInput ? juce::File() : fileFromArgument (v);
                  return {};
              } },
            { "--shard", [] (RenderOptions& o, const juce::String& v) -> Error {
                  const auto k = parseCount (v.upToFirstOccurrenceOf ("/", false, false), 1e6);
                  const auto n = parseCount (v.fromFirstOccurrenceOf ("/", false, false), 1e6);
                  if (! v.containsChar ('/') || ! k.has_value() || ! n.has_value() || *k > *n)
                      return "--shard takes K/N, a shard K of N from 1/N to N/N, not '" + v + "'";
                  o.shard = *k;
                  o.shards = *n;
                  return {};
              } },
            { "--channel", [] (RenderOptions& o, const juce::String& v) -> Error {
                  if (v == "left") o.analysisChannel = RenderOptions::Channel::left;
                  else if (v == "right") o.analysisChannel = RenderOptions::Channel::right;
                  else if (v == "sum") o.analysisChannel = RenderOptions::Channel::both;
                  else return "--channel must be left, right or sum, not '" + v + "'";
                  o.channelGiven = true;
                  return {};
              } },
            { "--tail", [] (RenderOptions& o, const juce::String& v) -> Error {
                  const auto number = parseNumber (v);
                  if (! number.has_value() || *number < 0.0 || *number > maximumTail)
                      return "--tail must be a number of seconds from 0 to " + juce::String (maximumTail, 0);
                  o.tailSeconds = *number;
                  return {};
              } },
            { "--block", [] (RenderOptions& o, const juce::String& v) -> Error {
                  const auto count = parseCount (v, maximumBlock);
                  if (! count.has_value())
                      return "--block must be a whole number of frames from 1 to " + juce::String (maximumBlock);
                  o.blockSize = *count;
                  return {};
              } },
            { "--threads", [] (RenderOptions& o, const juce::String& v) -> Error {
                  const auto count = parseCount (v, maximumThreads);
                  if (! count.has_value())
                      return "--threads must be a whole number from 1 to " + juce::String (maximumThreads);
                  o.threads = *count;
                  return {};
              } },
            { "--bits", [] (RenderOptions& o, const juce::String& v) -> Error {
                  if (v != "16" && v != "24" && v != "32")
                      return "--bits must be 16, 24 or 32";
                  o.bitsPerSample = v.getIntValue();
                  o.bitsGiven = true;
                  return {};
              } },
        };
        return options;
    }

    const juce::StringArray flags { "-h", "--help", "--version", "--list-programs", "--list-params", "--strict", "--analyze", "--json", "--wet-only", "--demo" };

    juce::String suggestionFor (const juce::String& option)
    {
        auto known = flags;
        for (const auto& [name, parse] : valueOptions())
            known.add (name);
        known.add ("--output");
        return didYouMean (option, known);
    }

    bool setFlag (RenderOptions& o, const juce::String& arg)
    {
        if (arg == "-h" || arg == "--help") o.showHelp = true;
        else if (arg == "--version") o.showVersion = true;
        else if (arg == "--list-programs") o.listPrograms = true;
        else if (arg == "--list-params") o.listParameters = true;
        else if (arg == "--strict") o.strict = true;
        else if (arg == "--analyze") o.analyze = true;
        else if (arg == "--json") o.json = true;
        else if (arg == "--wet-only") o.wetOnly = true;
        else if (arg == "--demo") o.demo = true;
        else return false;
        return true;
    }

    Error checkCombination (const RenderOptions& o, bool haveOutput, const std::vector<juce::File>& inputs)
    {
        const bool hasInput = ! inputs.empty() || o.inputIsStandardInput || o.demo;
        if (o.demo && (! inputs.empty() || o.inputIsStandardInput))
            return "--demo renders the built-in demo signal; give no input file with it";
        if (o.inputIsStandardInput && ! inputs.empty())
            return "- reads the input from standard input; give no other input file with it";
        if (o.outputIsStandardOutput && (o.isBatch() || inputs.size() > 1))
            return "-o - writes one render to standard output; several inputs go into a folder: -o FOLDER/";
        if (o.snapshotFile != juce::File() && (hasInput || haveOutput))
            return "--snapshot paints the window only; give no input or output file with it";
        if (! haveOutput && ! o.showHelp && ! o.showVersion && ! o.listPrograms && ! o.listParameters && (! inputs.empty() || o.inputIsStandardInput))
            return "missing -o OUT";
        const bool onlyLists = o.showHelp || o.showVersion || o.listPrograms || o.listParameters;
        if (! hasInput && ! haveOutput && ! o.isImpulse() && o.snapshotFile == juce::File() && ! o.hasManifest() && ! onlyLists)
            return "nothing to render: give an input file and -o OUT, - for standard input, --demo or --manifest";
        if (haveOutput && ! hasInput && ! o.isImpulse())
            return "-o needs something to render: an input file, - for standard input, or --demo";
        if (inputs.size() > 1 && ! o.isBatch())
            return "several inputs go into a folder: give -o FOLDER/";
        if (o.isBatch() && o.saveStateFile != juce::File())
            return "--save-state saves one render's state; give it without a folder of outputs";
        if (o.isImpulse() && (hasInput || haveOutput || o.snapshotFile != juce::File()))
            return "--impulse, --analyze and --plot use the impulse response of the settings; give no input, -o or --snapshot with them";
        if (o.hasManifest() && (hasInput || haveOutput || o.isImpulse() || o.snapshotFile != juce::File() || o.saveStateFile != juce::File()))
            return "--manifest names each render's input and output; give no input, -o, --demo, --impulse, --snapshot or --save-state with it";
        if (o.shards > 1 && ! o.hasManifest())
            return "--shard splits a --manifest";
        if (o.randomSettingsGiven && ! o.randomSeed.has_value() && ! o.hasManifest())
            return "--random-settings goes with --random SEED";
        if (o.channelGiven && ! o.analyze && o.plotFile == juce::File())
            return "--channel goes with --analyze or --plot";
        if ((o.json && ! o.analyze) || ((o.wetOnly || o.rateGiven) && ! o.isImpulse()))
            return "--json goes with --analyze, and --rate and --wet-only with --impulse, --analyze or --plot";
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
        if (! outputArgument.endsWithChar ('/') && ! o.output.isDirectory())
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

juce::String RenderOptions::shortUsage()
{
    return "usage: nadrix-render IN -o OUT [settings]     reverberate IN (- reads standard input, -o - writes standard output)\n"
           "       nadrix-render --demo [-o OUT]           the built-in demo signal\n"
           "       nadrix-render --help                    every option\n";
}

juce::String RenderOptions::usage()
{
    return "usage: nadrix-render IN -o OUT [--type TYPE] [--program N|\"Name\"] [--state FILE] [--set \"Name=value\"]...\n"
           "                     [--tail SECONDS] [--block FRAMES] [--bits 16|24|32] [--strict] [--save-state FILE]\n"
           "                     [--random SEED [--random-settings T,R,P,C]] [--threads N]\n"
           "       nadrix-render IN... -o FOLDER/ [the same settings]\n"
           "       nadrix-render --manifest FILE.tsv|- [--shard K/N] [the same settings]\n"
           "       nadrix-render --demo [-o OUT] [the same settings]\n"
           "       nadrix-render --snapshot FILE.png [--program N|\"Name\"] [--state FILE] [--set \"Name=value\"]...\n"
           "       nadrix-render [--impulse OUT] [--analyze [--json]] [--plot FILE.png] [--rate HZ] [--wet-only]\n"
           "                     [--channel left|right|sum]\n"
           "                     [--program N|\"Name\"] [--state FILE] [--set \"Name=value\"]...\n"
           "       nadrix-render [settings] --list-programs | --list-params | --version | --help\n"
           "\n"
           "Reverberates IN (any file libsndfile reads: WAV, RF64, AIFF, FLAC, Ogg Vorbis, Opus, MP3, ...;\n"
           "mono or stereo) through Nadrix at the file's own sample rate and writes OUT as a stereo file\n"
           "of the kind its extension names: .wav (RF64 past 4 GiB) .aiff .aif .flac .ogg .opus .mp3, or\n"
           "--type wav|aiff|flac|ogg|opus|mp3. WAV and AIFF are 32-bit float and FLAC 24-bit unless --bits\n"
           "says otherwise. IN - reads standard input and -o - writes standard output (WAV unless --type);\n"
           "messages then go to standard error. An input of 0 frames is refused. --demo renders a built-in\n"
           "demo signal (to nadrix-demo.wav unless -o says). Settings apply in this order: --state,\n"
           "--program, then each --set: a plain number is the normalised value 0..1 of any parameter,\n"
           "and a value with its unit is read as a host reads it (\"Mix=60 %\", \"Delay time Dly 3=250 ms\",\n"
           "\"Pan Dly 0=L30\", \"Active Dly 7=On\"); a value beyond the range is used clamped, with a notice.\n"
           "Names are matched in any letter case. --random SEED builds the window's random reverb from\n"
           "its own seeded generator (the same room for the same seed on every machine) with the\n"
           "RANDOMIZER settings tail,room,predelay,complexity of --random-settings (default\n"
           "0.2,0.5,0.1,0.3), after --program and before each --set; --save-state keeps it.\n"
           "--list-params shows every parameter as the settings\n"
           "before it leave it. The reverb tail is rendered past the end of the input unless --tail gives\n"
           "another length. --snapshot paints the plug-in's window, as set up, into a PNG file.\n"
           "Options take their value as the next argument or after '=' (--tail=2); -- ends the options.\n"
           "\n"
           "--threads N shares the reverb's lines between N threads (default: every core); the\n"
           "result is the same to the bit. With -o FOLDER/ every input is rendered into FOLDER as\n"
           "NAME.wav (or the --type's extension), as many files at once as there are threads; a file\n"
           "that fails is reported and the others go on. --manifest FILE.tsv (- for standard input)\n"
           "renders one file per line: IN<tab>OUT[<tab>PROGRAM[<tab>SEED[<tab>T,R,P,C]]], with the other\n"
           "options given; # starts a comment. --shard K/N renders lines K, K+N, K+2N, ... only, so\n"
           "GNU parallel or a job array can split a manifest and get the same files.\n"
           "\n"
           "--impulse writes the impulse response of the settings (a unit impulse through the plug-in,\n"
           "as a render of it; 44.1 kHz unless --rate says otherwise), long enough to fall 90 dB below\n"
           "its peak or to the reverb's tail, whichever is longer, at most 60 s. It keeps the Mix as set,\n"
           "dry part included; --wet-only sets Mix to 1. --analyze prints its decay per octave band\n"
           "(EDT, T20, T30, C80, D50), first arrival and echo density, of both channels' energies summed\n"
           "or of --channel left or right; --json prints the same as JSON. An EDT whose first 10 dB fall\n"
           "within 2 ms is not given (the first arrival, not the decay, would set it).\n"
           "--plot draws the decay curves, the echogram and a spectrogram into a PNG file.\n"
           "\n"
           "A damaged input (it declares more audio than it holds, or frames that do not decode) is\n"
           "rendered as far as it goes, with a warning; --strict refuses it instead. Nothing is ever\n"
           "written over the input, the state read, or another file of the same run; a read-only\n"
           "output is refused, a symbolic link is written through; an interrupted run leaves no file.\n"
           "\n"
           "Exit status: 0 done; 1 a file could not be read or written, or was refused (damaged under\n"
           "--strict, empty, the same as another, read-only, a rate its kind cannot hold; in a batch,\n"
           "any file); 2 the command line itself is wrong (an unknown option or value, no input, two\n"
           "inputs that would write the same output).\n";
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
            inputs.push_back (fileFromArgument (arg));
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
        if (arg == "--output")
            arg = "-o";

        if (setFlag (o, arg))
        {
            if (attached.has_value())
                return arg + " takes no value";
            o.jobArguments.add (arg);
            continue;
        }

        const auto option = valueOptions().find (arg);
        if (option == valueOptions().end())
            return "unknown option '" + arg + "'" + suggestionFor (arg);
        if (! attached.has_value() && i + 1 >= args.size())
            return arg + " needs a value";
        const auto value = attached.has_value() ? *attached : args[++i];
        if (const auto error = option->second (o, value))
            return *error;
        if (arg == "-o")
        {
            haveOutput = true;
            outputArgument = value;
        }
        // What each line of a manifest renders with: everything but the manifest itself.
        if (arg != "--manifest" && arg != "--shard")
            o.jobArguments.addArray ({ arg, value });
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
