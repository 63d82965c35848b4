// SPDX-License-Identifier: GPL-3.0-or-later
#include "RenderOptions.h"

#include "Nadrix_Preset_Data.h"
#include "ParameterInfo.h"
#include "ParameterText.h"

#include <cmath>
#include <functional>
#include <map>

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

        auto p = s.getCharPointer();
        const double value = juce::CharacterFunctions::readDoubleValue (p);
        if (! p.isEmpty() || ! std::isfinite (value))
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

    // "Name=value": a plain number is the normalised value 0..1 for every
    // parameter; anything else is read as a host reads typed text ("60 %",
    // "250 ms", "L30", "On").
    std::variant<std::pair<int, float>, juce::String> readSetting (const juce::String& setting)
    {
        const int equals = setting.indexOfChar ('=');
        if (equals < 0)
            return "--set takes \"Name=value\", not '" + setting + "'";

        const auto name = setting.substring (0, equals).trim();
        const auto text = setting.substring (equals + 1).trim();
        if (name.isEmpty())
            return "--set '" + setting + "' names no parameter";
        const int index = ParameterInfo::indexOfName (name.toStdString());
        if (index < 0)
            return "--set: unknown parameter '" + name + "'; --list-params lists them";

        const auto example = ParameterText::format (index, 0.5f);
        if (const auto number = parseNumber (text); number.has_value())
        {
            if (*number < 0.0 || *number > 1.0)
                return "--set " + name + ": a plain number is the normalised value from 0 to 1; give other values with their unit, like \"" + example + "\"";
            return std::pair<int, float> { index, (float) *number };
        }

        if (const auto value = ParameterText::parse (index, text); value.has_value())
            return std::pair<int, float> { index, *value };
        return "--set " + name + ": cannot read '" + text + "'; give a number from 0 to 1 or a value like \"" + example + "\"";
    }

    // A program number 0..5 or a program name (in any letter case).
    std::optional<int> findProgram (const juce::String& numberOrName)
    {
        const auto text = numberOrName.trim();
        if (text.isNotEmpty() && text.containsOnly ("0123456789"))
            return text.length() <= 2 && text.getIntValue() < NadrixPresetCount ? std::optional<int> (text.getIntValue()) : std::nullopt;

        for (int i = 0; i < NadrixPresetCount; ++i)
            if (text.equalsIgnoreCase (Nadrix_Preset_Names[i]))
                return i;
        return std::nullopt;
    }

    juce::File fileFromArgument (const juce::String& path)
    {
        return juce::File::getCurrentWorkingDirectory().getChildFile (path);
    }

    using ValueOption = std::function<Error (RenderOptions&, const juce::String&)>;

    const std::map<juce::String, ValueOption>& valueOptions()
    {
        static const std::map<juce::String, ValueOption> options {
            { "-o", [] (RenderOptions& o, const juce::String& v) -> Error { o.output = fileFromArgument (v); return {}; } },
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
                      return "unknown program '" + v + "' (see --list-programs)";
                  o.program = *program;
                  return {};
              } },
            { "--set", [] (RenderOptions& o, const juce::String& v) -> Error {
                  const auto setting = readSetting (v);
                  if (const auto* error = std::get_if<juce::String> (&setting))
                      return *error;
                  o.settings.push_back (std::get<std::pair<int, float>> (setting));
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
                  return {};
              } },
        };
        return options;
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
        else return false;
        return true;
    }

    Error checkCombination (const RenderOptions& o, bool haveOutput, const std::vector<juce::File>& inputs)
    {
        if (o.snapshotFile != juce::File() && (! inputs.empty() || haveOutput))
            return "--snapshot paints the window only; give no input or output file with it";
        if (! haveOutput && ! o.showHelp && ! o.showVersion && ! o.listPrograms && ! o.listParameters && ! inputs.empty())
            return "missing -o OUT";
        if (inputs.size() > 1 && ! o.isBatch())
            return "several inputs go into a folder: give -o FOLDER/";
        if (o.isBatch() && o.saveStateFile != juce::File())
            return "--save-state saves one render's state; give it without a folder of outputs";
        if (o.isImpulse() && (! inputs.empty() || haveOutput || o.snapshotFile != juce::File()))
            return "--impulse, --analyze and --plot use the impulse response of the settings; give no input, -o or --snapshot with them";
        if ((o.json && ! o.analyze) || ((o.wetOnly || o.rateGiven) && ! o.isImpulse()))
            return "--json goes with --analyze, and --rate and --wet-only with --impulse, --analyze or --plot";
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
            const auto name = in.getFileNameWithoutExtension() + ".wav";
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

juce::String RenderOptions::usage()
{
    return "usage: nadrix-render [IN] -o OUT [--program N|\"Name\"] [--state FILE] [--set \"Name=value\"]...\n"
           "                     [--tail SECONDS] [--block FRAMES] [--bits 16|24|32] [--strict] [--save-state FILE]\n"
           "                     [--threads N]\n"
           "       nadrix-render IN... -o FOLDER/ [the same settings]\n"
           "       nadrix-render --snapshot FILE.png [--program N|\"Name\"] [--state FILE] [--set \"Name=value\"]...\n"
           "       nadrix-render [--impulse OUT.wav] [--analyze [--json]] [--plot FILE.png] [--rate HZ] [--wet-only]\n"
           "                     [--program N|\"Name\"] [--state FILE] [--set \"Name=value\"]...\n"
           "       nadrix-render --list-programs | --list-params | --version\n"
           "\n"
           "Reverberates IN (WAV, AIFF or FLAC; mono or stereo) through Nadrix at the file's own\n"
           "sample rate and writes OUT as a stereo WAV (32-bit float unless --bits says otherwise).\n"
           "Without IN it renders a built-in demo signal. Settings apply in this order: --state,\n"
           "--program, then each --set: a plain number is the normalised value 0..1 of any parameter,\n"
           "and a value with its unit is read as a host reads it (\"Mix=60 %\", \"Delay time Dly 3=250 ms\",\n"
           "\"Pan Dly 0=L30\", \"Active Dly 7=On\"; see --list-params for each one's unit). The reverb tail\n"
           "is rendered past the end of the input unless --tail gives another length. --snapshot paints\n"
           "the plug-in's window, as set up, into a PNG file.\n"
           "\n"
           "--threads N shares the reverb's lines between N threads (default: every core); the\n"
           "result is the same to the bit. With -o FOLDER/ every input is rendered into FOLDER as\n"
           "NAME.wav, as many files at once as there are threads; a file that fails is reported and\n"
           "the others go on.\n"
           "\n"
           "--impulse writes the impulse response of the settings (a unit impulse through the plug-in,\n"
           "as a render of it; 32-bit float, 44.1 kHz unless --rate says otherwise), long enough to fall\n"
           "90 dB below its peak or to the reverb's tail, whichever is longer, at most 60 s. It keeps the\n"
           "Mix as set, dry part included; --wet-only sets Mix to 1. --analyze prints its decay per octave\n"
           "band (EDT, T20, T30, C80, D50), first arrival and echo density; --json prints the same as JSON.\n"
           "--plot draws the decay curves, the echogram and a spectrogram into a PNG file.\n"
           "\n"
           "A damaged input (it declares more audio than it holds, or frames that do not decode) is\n"
           "rendered as far as it goes, with a warning; --strict refuses it instead. Nothing is ever\n"
           "written over the input, the state read, or another file of the same run; a read-only\n"
           "output is refused, a symbolic link is written through; an interrupted run leaves no file.\n"
           "\n"
           "Exit status: 0 done; 1 a file could not be read or written, or was refused (damaged under\n"
           "--strict, the same as another, read-only; in a batch, any file); 2 the command line itself is wrong.\n";
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

    for (int i = 0; i < args.size(); ++i)
    {
        auto arg = args[i];
        if (arg == "--output")
            arg = "-o";

        if (setFlag (o, arg))
            continue;

        if (const auto option = valueOptions().find (arg); option != valueOptions().end())
        {
            if (i + 1 >= args.size())
                return arg + " needs a value";
            if (const auto error = option->second (o, args[++i]))
                return *error;
            if (arg == "-o")
            {
                haveOutput = true;
                outputArgument = args[i];
            }
        }
        else if (arg.startsWith ("-") && arg.length() > 1)
            return "unknown option '" + arg + "'";
        else
            inputs.push_back (fileFromArgument (arg));
    }

    if (haveOutput)
        if (const auto error = arrangeBatch (o, outputArgument, inputs))
            return *error;
    if (! haveOutput && ! inputs.empty())
        o.input = inputs.front();
    if (const auto error = checkCombination (o, haveOutput, inputs))
        return *error;
    return o;
}
