#include "RenderOptions.h"

#include "ParameterNames.h"
#include "ParameterText.h"

#include <cmath>
#include <cstdlib>

namespace
{
    constexpr int maximumBlock = 1 << 20;
    constexpr double maximumTail = 3600.0;

    // Whole-string number parsing: "0.5x" or "" is not a number.
    std::optional<double> parseNumber (const juce::String& text)
    {
        const auto s = text.trim();
        if (s.isEmpty())
            return std::nullopt;

        char* end = nullptr;
        const double value = std::strtod (s.toRawUTF8(), &end);
        if (end == nullptr || *end != '\0' || ! std::isfinite (value))
            return std::nullopt;
        return value;
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
        const int index = parameterIndex (name.toStdString());
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

    juce::File fileFromArgument (const juce::String& path)
    {
        return juce::File::getCurrentWorkingDirectory().getChildFile (path);
    }
}

juce::String RenderOptions::usage()
{
    return "usage: nadrix-render [IN] -o OUT [--program N|\"Name\"] [--state FILE] [--set \"Name=value\"]...\n"
           "                     [--tail SECONDS] [--block FRAMES] [--bits 16|24|32] [--save-state FILE]\n"
           "       nadrix-render --snapshot FILE.png [--program N|\"Name\"] [--state FILE] [--set \"Name=value\"]...\n"
           "       nadrix-render --list-programs | --list-params\n"
           "\n"
           "Reverberates IN (WAV, AIFF or FLAC; mono or stereo) through Nadrix at the file's own\n"
           "sample rate and writes OUT as a stereo WAV (32-bit float unless --bits says otherwise).\n"
           "Without IN it renders a built-in demo signal. Settings apply in this order: --state,\n"
           "--program, then each --set: a plain number is the normalised value 0..1 of any parameter,\n"
           "and a value with its unit is read as a host reads it (\"Mix=60 %\", \"Delay time Dly 3=250 ms\",\n"
           "\"Pan Dly 0=L30\", \"Active Dly 7=On\"; see --list-params for each one's unit). The reverb tail is rendered past\n"
           "the end of the input unless --tail gives another length. --snapshot paints the plug-in's\n"
           "window, as set up, into a PNG file.\n";
}

std::variant<RenderOptions, juce::String> RenderOptions::parse (const juce::StringArray& args)
{
    RenderOptions o;
    bool haveOutput = false;

    for (int i = 0; i < args.size(); ++i)
    {
        const auto& arg = args[i];

        auto value = [&] () -> std::optional<juce::String> {
            if (i + 1 >= args.size())
                return std::nullopt;
            return args[++i];
        };

        if (arg == "-h" || arg == "--help")
            o.showHelp = true;
        else if (arg == "--list-programs")
            o.listPrograms = true;
        else if (arg == "--list-params")
            o.listParameters = true;
        else if (arg == "-o" || arg == "--output" || arg == "--program" || arg == "--state" || arg == "--set"
                 || arg == "--tail" || arg == "--block" || arg == "--bits" || arg == "--save-state" || arg == "--snapshot")
        {
            const auto v = value();
            if (! v.has_value())
                return arg + " needs a value";

            if (arg == "-o" || arg == "--output")
            {
                o.output = fileFromArgument (*v);
                haveOutput = true;
            }
            else if (arg == "--program")
                o.program = *v;
            else if (arg == "--state")
                o.stateFile = fileFromArgument (*v);
            else if (arg == "--save-state")
                o.saveStateFile = fileFromArgument (*v);
            else if (arg == "--snapshot")
                o.snapshotFile = fileFromArgument (*v);
            else if (arg == "--set")
            {
                const auto setting = readSetting (*v);
                if (const auto* error = std::get_if<juce::String> (&setting))
                    return *error;
                o.settings.push_back (std::get<std::pair<int, float>> (setting));
            }
            else if (arg == "--tail")
            {
                const auto number = parseNumber (*v);
                if (! number.has_value() || *number < 0.0 || *number > maximumTail)
                    return "--tail must be a number of seconds from 0 to " + juce::String (maximumTail, 0);
                o.tailSeconds = *number;
            }
            else if (arg == "--block")
            {
                const auto number = parseNumber (*v);
                if (! number.has_value() || *number < 1.0 || *number > maximumBlock || std::floor (*number) != *number)
                    return "--block must be a whole number of frames from 1 to " + juce::String (maximumBlock);
                o.blockSize = (int) *number;
            }
            else if (arg == "--bits")
            {
                if (*v != "16" && *v != "24" && *v != "32")
                    return "--bits must be 16, 24 or 32";
                o.bitsPerSample = v->getIntValue();
            }
        }
        else if (arg.startsWith ("-") && arg.length() > 1)
            return "unknown option '" + arg + "'";
        else if (o.input == juce::File())
            o.input = fileFromArgument (arg);
        else
            return "only one input file may be given";
    }

    if (o.snapshotFile != juce::File() && (o.input != juce::File() || haveOutput))
        return "--snapshot paints the window only; give no input or output file with it";

    if (! haveOutput && ! o.showHelp && ! o.listPrograms && ! o.listParameters && o.input != juce::File())
        return "missing -o OUT";

    return o;
}
