// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/nadrix-render/RenderOptionTable.h"

#include "tools/nadrix-render/NearestName.h"
#include "tools/nadrix-render/SettingReader.h"
#include "processor/FactoryPrograms.h"
#include "processor/ParameterInfo.h"
#include "processor/ParameterText.h"

#include <cmath>

namespace nadrix
{
namespace
{
    using Error = RenderOption::Error;

    constexpr int maximumBlock = 1 << 20;
    constexpr int maximumThreads = 256;
    constexpr double maximumTail = 3600.0;
    constexpr double mostGainDb = 60.0;

    using namespace SettingReader;

    std::optional<double> parseNumber (const juce::String& text) { return plainNumber (text); }

    // A whole number from 1 to `highest`, or none.
    std::optional<int> parseCount (const juce::String& text, double highest)
    {
        const auto number = parseNumber (text);
        if (! number.has_value() || *number < 1.0 || *number > highest || std::floor (*number) != *number)
            return std::nullopt;
        return (int) *number;
    }

    // "Name=value", as SettingReader reads a name and a value.
    std::variant<std::pair<int, float>, juce::String> readNamedSetting (const juce::String& setting, juce::StringArray& notices)
    {
        const int equals = setting.indexOfChar ('=');
        if (equals < 0)
            return "--set takes \"Name=value\", not '" + setting + "'";

        const auto name = setting.substring (0, equals).trim();
        const auto text = setting.substring (equals + 1).trim();
        if (name.isEmpty())
            return "--set '" + setting + "' names no parameter";

        const auto read = readSetting (name, text);
        if (const auto* refusal = std::get_if<Refusal> (&read))
            return refusal->unknownName ? "--set: " + refusal->reason + "; --list-params lists them" : "--set " + refusal->reason;
        const auto& s = std::get<Setting> (read);
        if (s.beyondRange)
            notices.add ("--set " + name + "=" + text + " is beyond the parameter's range; using " + ParameterText::format (s.index, s.normalised));
        return std::pair<int, float> { s.index, s.normalised };
    }

    RenderOption::Apply setFlag (bool RenderOptions::*flag)
    {
        return [flag] (RenderOptions& o, const juce::String&) -> Error { o.*flag = true; return {}; };
    }

    RenderOption::Apply setFile (juce::File RenderOptions::*file)
    {
        return [file] (RenderOptions& o, const juce::String& v) -> Error { o.*file = RenderOption::pathOf (v); return {}; };
    }

    Error decibels (std::optional<double>& into, const juce::String& option, const juce::String& v, double lowest, double highest)
    {
        const auto number = parseNumber (v);
        if (! number.has_value() || *number < lowest || *number > highest)
            return option + " takes decibels from " + juce::String (lowest, 0) + " to " + juce::String (highest, 0) + ", not '" + v + "'";
        into = *number;
        return {};
    }
}

const std::vector<RenderOption>& RenderOption::all()
{
    static const std::vector<RenderOption> table {
        { "-o", "--output", "OUT",
          "The file to write: .wav (32-bit float, RF64 past 4 GiB), .aiff or .aif (32-bit float), .flac (24-bit), .ogg (Vorbis), "
          ".opus (at 8, 12, 16, 24 or 48 kHz only) or .mp3. A file is written under a temporary name beside it and moved into place "
          "when whole. - (or /dev/stdout) writes standard output, which must not be a terminal; a FIFO or a character device is "
          "written as the render runs, never replaced. A folder (FOLDER/) takes one output per input, named after it.",
          [] (RenderOptions& o, const juce::String& v) -> Error {
              o.outputIsStandardOutput = v == "-" || v == "/dev/stdout";
              o.output = o.outputIsStandardOutput ? juce::File() : RenderOption::pathOf (v);
              return {};
          } },
        { "--type", nullptr, "TYPE",
          "The kind of file to write whatever its name says: wav, aiff, flac, ogg, opus or mp3.",
          [] (RenderOptions& o, const juce::String& v) -> Error {
              o.typeGiven = AudioFileType::named (v);
              if (! o.typeGiven.has_value())
                  return "--type must be one of " + AudioFileType::names() + ", not '" + v + "'";
              return {};
          } },
        { "--bits", nullptr, "16|24|32",
          "Bits per sample of a WAV or AIFF (16, 24, or 32 as floats, the default) or a FLAC (16 or 24, the default).",
          [] (RenderOptions& o, const juce::String& v) -> Error {
              if (v != "16" && v != "24" && v != "32")
                  return "--bits must be 16, 24 or 32";
              o.bitsPerSample = v.getIntValue();
              o.bitsGiven = true;
              return {};
          } },
        { "--gain", nullptr, "DB",
          "Multiply every output sample by this gain (-60 to +60 dB). Without it the output is the plug-in's, and a render that "
          "passes full scale says so: an integer or coded file clips it, with a notice of how many samples and the peak.",
          [] (RenderOptions& o, const juce::String& v) -> Error { return decibels (o.gainDb, "--gain", v, -mostGainDb, mostGainDb); } },
        { "--normalize", nullptr, "PEAK_DBFS",
          "Bring the output's peak to this level (-60 to 0 dBFS): the render runs twice, once to find its peak. Not with "
          "standard input, which can be read once.",
          [] (RenderOptions& o, const juce::String& v) -> Error { return decibels (o.normalizeDbfs, "--normalize", v, -mostGainDb, 0.0); } },
        { "--tail", nullptr, "SECONDS",
          "The length rendered after the input. Without it the whole tail is rendered: until the output has stayed 100 dB "
          "below its peak and below -120 dBFS for half a second, at most 300 s (the report then says the tail was cut, and how "
          "far below its peak it ended).",
          [] (RenderOptions& o, const juce::String& v) -> Error {
              const auto number = parseNumber (v);
              if (! number.has_value() || *number < 0.0 || *number > maximumTail)
                  return "--tail must be a number of seconds from 0 to " + juce::String (maximumTail, 0);
              o.tailSeconds = *number;
              return {};
          } },
        { "--block", nullptr, "FRAMES",
          "The block size the processor is given, as a host's buffer size (1 to 1048576; the output is the same for any).",
          [] (RenderOptions& o, const juce::String& v) -> Error {
              const auto count = parseCount (v, maximumBlock);
              if (! count.has_value())
                  return "--block must be a whole number of frames from 1 to " + juce::String (maximumBlock);
              o.blockSize = *count;
              return {};
          } },
        { "--threads", nullptr, "N",
          "Threads for the reverb's lines, 1 to 256 (default: every core); the output is the same to the bit. A batch renders "
          "as many files at once.",
          [] (RenderOptions& o, const juce::String& v) -> Error {
              const auto count = parseCount (v, maximumThreads);
              if (! count.has_value())
                  return "--threads must be a whole number from 1 to " + juce::String (maximumThreads);
              o.threads = *count;
              return {};
          } },
        { "--strict", nullptr, nullptr,
          "Refuse a damaged input (one that declares more audio than it holds, or whose frames do not decode) instead of "
          "rendering it as far as it goes.",
          setFlag (&RenderOptions::strict) },
        { "--demo", nullptr, nullptr,
          "Render the built-in demo signal (into nadrix-demo.wav unless -o says).",
          setFlag (&RenderOptions::demo) },
        { "--state", nullptr, "FILE",
          "Start from a state saved by the plug-in or by --save-state (exactly 1428 bytes).",
          setFile (&RenderOptions::stateFile) },
        { "--program", nullptr, "N|NAME",
          "A factory program by number (0 to 5) or name, in any letter case.",
          [] (RenderOptions& o, const juce::String& v) -> Error {
              const auto program = findProgram (v);
              if (! program.has_value())
                  return "unknown program '" + v + "'" + didYouMean (v, programNames()) + " (see --list-programs)";
              o.program = *program;
              return {};
          } },
        { "--set", nullptr, "NAME=VALUE",
          "A parameter, after --state and --program: a plain number is its normalised value 0..1; a value with its unit is read "
          "as a host reads it (\"Mix=60 %\", \"Delay time Dly 3=250 ms\", \"Pan Dly 0=L30\", \"Active Dly 7=On\"). Beyond the "
          "range it is clamped, with a notice. Names match in any letter case. May be repeated.",
          [] (RenderOptions& o, const juce::String& v) -> Error {
              const auto setting = readNamedSetting (v, o.notices);
              if (const auto* error = std::get_if<juce::String> (&setting))
                  return *error;
              o.settings.push_back (std::get<std::pair<int, float>> (setting));
              return {};
          } },
        { "--random", nullptr, "SEED",
          "Build the window's random reverb from a generator of its own seeded with SEED (0 to 4294967295): the same room for "
          "the same seed on every machine. It comes after --program and before each --set.",
          [] (RenderOptions& o, const juce::String& v) -> Error {
              const auto seed = parseNumber (v);
              if (! seed.has_value() || *seed < 0.0 || *seed > 4294967295.0 || std::floor (*seed) != *seed)
                  return "--random takes a seed, a whole number from 0 to 4294967295";
              o.randomSeed = (juce::uint32) *seed;
              return {};
          } },
        { "--random-settings", nullptr, "T,R,P,C",
          "The RANDOMIZER settings tail, room, predelay and complexity, each 0..1 (default 0.2,0.5,0.1,0.3).",
          [] (RenderOptions& o, const juce::String& v) -> Error {
              if (const auto settings = readRandomSettings (v))
              {
                  o.randomSettings = *settings;
                  o.randomSettingsGiven = true;
                  return {};
              }
              return "--random-settings takes four numbers from 0 to 1, tail,room,predelay,complexity (like 0.2,0.5,0.1,0.3), not '" + v + "'";
          } },
        { "--save-state", nullptr, "FILE",
          "Save the state the render used (1428 bytes), to be given to --state or loaded into the plug-in.",
          setFile (&RenderOptions::saveStateFile) },
        { "--manifest", nullptr, "FILE.tsv|-",
          "One render per line: IN, OUT, then optionally PROGRAM (number, name, or - for none), SEED and T,R,P,C, separated by "
          "tabs; # starts a comment, and every line renders with the other options given. Every line is checked first: a line "
          "that cannot mean anything, or one that writes a file another line reads or writes (links and ./ resolved), refuses "
          "the manifest. - reads it from standard input.",
          [] (RenderOptions& o, const juce::String& v) -> Error {
              o.manifestIsStandardInput = v == "-";
              o.manifest = o.manifestIsStandardInput ? juce::File() : RenderOption::pathOf (v);
              return {};
          } },
        { "--shard", nullptr, "K/N",
          "Render only the manifest's lines K, K+N, K+2N, ... (counting renders, not comments): any split gives the same files.",
          [] (RenderOptions& o, const juce::String& v) -> Error {
              const auto k = parseCount (v.upToFirstOccurrenceOf ("/", false, false), 1e6);
              const auto n = parseCount (v.fromFirstOccurrenceOf ("/", false, false), 1e6);
              if (! v.containsChar ('/') || ! k.has_value() || ! n.has_value() || *k > *n)
                  return "--shard takes K/N, a shard K of N from 1/N to N/N, not '" + v + "'";
              o.shard = *k;
              o.shards = *n;
              return {};
          } },
        { "--snapshot", nullptr, "FILE.png",
          "Paint the plug-in's window, as set up, into a PNG file.",
          setFile (&RenderOptions::snapshotFile) },
        { "--impulse", nullptr, "OUT",
          "Write the impulse response of the settings: a unit impulse on both channels rendered as a file holding it would be, "
          "until it has fallen 90 dB below its peak or to the reverb's reported tail, whichever is longer, at most 60 s.",
          setFile (&RenderOptions::impulseFile) },
        { "--analyze", nullptr, nullptr,
          "Print the impulse response's EDT, T20, T30, C80 and D50 per octave band and broadband, its first arrival and echo "
          "density; a figure the response cannot give is left out with the reason.",
          setFlag (&RenderOptions::analyze) },
        { "--json", nullptr, nullptr,
          "Print the analysis as JSON (with --analyze).",
          setFlag (&RenderOptions::json) },
        { "--plot", nullptr, "FILE.png",
          "Draw the decay curves with their T30 lines, the echogram and a spectrogram into a PNG file.",
          setFile (&RenderOptions::plotFile) },
        { "--rate", nullptr, "HZ",
          "The impulse response's sample rate, 8000 to 384000 (default 44100).",
          [] (RenderOptions& o, const juce::String& v) -> Error {
              const auto number = parseNumber (v);
              if (! number.has_value() || *number < 8000.0 || *number > 384000.0)
                  return "--rate must be a sample rate from 8000 to 384000 Hz";
              o.impulseRate = *number;
              o.rateGiven = true;
              return {};
          } },
        { "--channel", nullptr, "left|right|sum",
          "What --analyze and --plot measure: one channel, or both with their energies summed (the default).",
          [] (RenderOptions& o, const juce::String& v) -> Error {
              if (v == "left") o.analysisChannel = RenderOptions::Channel::left;
              else if (v == "right") o.analysisChannel = RenderOptions::Channel::right;
              else if (v == "sum") o.analysisChannel = RenderOptions::Channel::both;
              else return "--channel must be left, right or sum, not '" + v + "'";
              o.channelGiven = true;
              return {};
          } },
        { "--wet-only", nullptr, nullptr,
          "The impulse response of the reverb alone (Mix at 1).",
          setFlag (&RenderOptions::wetOnly) },
        { "--list-programs", nullptr, nullptr,
          "List the factory programs.",
          setFlag (&RenderOptions::listPrograms) },
        { "--list-params", nullptr, nullptr,
          "List every parameter as the settings before it leave it: its normalised value and the text a host shows.",
          setFlag (&RenderOptions::listParameters) },
        { "--version", nullptr, nullptr,
          "Print the version.",
          setFlag (&RenderOptions::showVersion) },
        { "-h", "--help", nullptr,
          "Print this help.",
          setFlag (&RenderOptions::showHelp) },
    };
    return table;
}

juce::File RenderOption::pathOf (const juce::String& path)
{
    // A leading ~ is the shell's to expand, not a home folder here.
    return juce::File::getCurrentWorkingDirectory().getChildFile (path.startsWithChar ('~') ? "./" + path : path);
}

const RenderOption* RenderOption::find (const juce::String& name)
{
    for (const auto& option : all())
        if (name == option.name || (option.alias != nullptr && name == option.alias))
            return &option;
    return nullptr;
}

const juce::StringArray& RenderOption::usageForms()
{
    static const juce::StringArray forms {
        "nadrix-render IN -o OUT [--type TYPE] [--program N|\"Name\"] [--state FILE] [--set \"Name=value\"]...\n"
        "              [--tail SECONDS] [--block FRAMES] [--bits 16|24|32] [--gain DB | --normalize PEAK_DBFS]\n"
        "              [--strict] [--save-state FILE] [--random SEED [--random-settings T,R,P,C]] [--threads N]",
        "nadrix-render IN... -o FOLDER/ [the same settings]",
        "nadrix-render --manifest FILE.tsv|- [--shard K/N] [the same settings]",
        "nadrix-render --demo [-o OUT] [the same settings]",
        "nadrix-render --snapshot FILE.png [--program N|\"Name\"] [--state FILE] [--set \"Name=value\"]...",
        "nadrix-render [--impulse OUT] [--analyze [--json]] [--plot FILE.png] [--rate HZ] [--wet-only]\n"
        "              [--channel left|right|sum]\n"
        "              [--program N|\"Name\"] [--state FILE] [--set \"Name=value\"]...",
        "nadrix-render [settings] --list-programs | --list-params | --version | --help",
    };
    return forms;
}
} // namespace nadrix
