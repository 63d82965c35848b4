// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/analysis/AnalysisReport.h"

#include <algorithm>

namespace nadrix
{
namespace
{
    juce::String bandName (double centreHz)
    {
        if (centreHz <= 0.0)
            return "broadband";
        return centreHz >= 1000.0 ? juce::String (centreHz / 1000.0, 0) + " kHz" : juce::String (centreHz, 0) + " Hz";
    }

    juce::String cell (const std::optional<double>& value, int decimals)
    {
        return value.has_value() ? juce::String (*value, decimals) : juce::String ("-");
    }

    // Why a band lacks a figure, if it does.
    juce::String missingNote (const DecayAnalysis::Band& band)
    {
        auto isCurved = [&band] (const char* name) {
            return std::any_of (band.curved.begin(), band.curved.end(), [name] (const auto& c) { return juce::String (c.first) == name; });
        };
        juce::StringArray why;
        if (! band.curved.empty())
        {
            juce::StringArray names, values;
            for (const auto& [name, nonlinearity] : band.curved)
                names.add (name), values.add (juce::String (juce::roundToInt (nonlinearity)));
            why.add ("no " + names.joinIntoString (", ") + ": the decay is not a straight line (non-linearity " + values.joinIntoString (", ")
                     + " per mille, over " + juce::String (juce::roundToInt (DecayAnalysis::straightDecayLimit)) + ")");
        }
        if (! band.edt.has_value() && ! isCurved ("EDT") && band.decayRangeDb >= 10.0)
            why.add ("no EDT: the curve falls 10 dB at once (the first arrival carries most of the energy)");
        juce::StringArray tooShort;
        for (const auto& [name, rangeDb] : { std::pair { "EDT", 10.0 }, { "T20", 25.0 }, { "T30", 35.0 } })
            if (band.decayRangeDb < rangeDb && ! isCurved (name))
                tooShort.add (name);
        if (! tooShort.isEmpty())
            why.add ("the decay falls only " + juce::String (band.decayRangeDb, 1) + " dB within the response, too little for "
                     + (tooShort.size() == 3 ? juce::String ("any decay time") : tooShort.joinIntoString (" and ")));
        return why.isEmpty() ? juce::String() : bandName (band.centreHz) + ": " + why.joinIntoString ("; ");
    }

    // A number with at most `decimals` decimals (written here: JUCE's JSON
    // writer prints binary rounding noise such as 90.90000000000001), or null.
    juce::String number (const std::optional<double>& value, int decimals)
    {
        if (! value.has_value() || ! std::isfinite (*value))
            return "null";
        auto text = juce::String (*value, decimals);
        if (text.containsChar ('.'))
            text = text.trimCharactersAtEnd ("0").trimCharactersAtEnd (".");
        return text == "-0" ? "0" : text;
    }

    juce::String quoted (const juce::String& text) { return juce::JSON::toString (text); }

    juce::String bandObject (const DecayAnalysis::Band& band, const juce::String& indent)
    {
        juce::StringArray fields {
            "\"band\": " + quoted (bandName (band.centreHz)),
            "\"band_hz\": " + (band.centreHz > 0.0 ? number (band.centreHz, 0) : juce::String ("null")),
            "\"edt_s\": " + number (band.edt, 3),
            "\"t20_s\": " + number (band.t20, 3),
            "\"t30_s\": " + number (band.t30, 3),
            "\"c80_db\": " + number (band.c80, 2),
            "\"d50_percent\": " + number (band.d50, 1),
        };
        if (const auto note = missingNote (band); note.isNotEmpty())
            fields.add ("\"note\": " + quoted (note));
        return "{\n" + indent + "  " + fields.joinIntoString (",\n" + indent + "  ") + "\n" + indent + "}";
    }
}

juce::String AnalysisReport::asText (const DecayAnalysis& a, const juce::String& settings, const juce::String& channels)
{
    juce::String text;
    text << "Impulse response of " << settings << ": " << juce::String (a.lengthSeconds, 2) << " s at " << juce::String (a.sampleRate, 0) << " Hz\n"
         << "Channels:       " << channels << "\n"
         << "First arrival:  " << juce::String (a.firstArrivalSeconds * 1000.0, 2) << " ms, " << juce::String (a.firstArrivalLevelDb, 1) << " dBFS\n"
         << "Echo density:   " << juce::String (a.echoDensityFirst100ms, 2) << " (normalised, first 100 ms; 1 = noise-like), "
         << (a.mixingTimeSeconds.has_value() ? "reaches 1 after " + juce::String (*a.mixingTimeSeconds * 1000.0, 0) + " ms"
                                             : juce::String ("never reaches 1"))
         << "\n\n";

    text << juce::String ("Band").paddedRight (' ', 12) << juce::String ("EDT s").paddedLeft (' ', 8) << juce::String ("T20 s").paddedLeft (' ', 8)
         << juce::String ("T30 s").paddedLeft (' ', 8) << juce::String ("C80 dB").paddedLeft (' ', 9) << juce::String ("D50 %").paddedLeft (' ', 8) << "\n";

    juce::StringArray notes;
    auto row = [&] (const DecayAnalysis::Band& b) {
        text << bandName (b.centreHz).paddedRight (' ', 12) << cell (b.edt, 2).paddedLeft (' ', 8) << cell (b.t20, 2).paddedLeft (' ', 8)
             << cell (b.t30, 2).paddedLeft (' ', 8) << cell (b.c80, 1).paddedLeft (' ', 9) << cell (b.d50, 1).paddedLeft (' ', 8) << "\n";
        if (const auto note = missingNote (b); note.isNotEmpty())
            notes.add (note);
    };
    for (const auto& b : a.bands)
        row (b);
    row (a.broadband);

    if (! notes.isEmpty())
        text << "\n- " << notes.joinIntoString ("\n- ") << "\n";
    return text;
}

juce::String AnalysisReport::asJson (const DecayAnalysis& a, const juce::String& settings, const juce::String& channels)
{
    juce::StringArray bands;
    for (const auto& b : a.bands)
        bands.add ("    " + bandObject (b, "    "));

    return "{\n"
           "  \"settings\": " + quoted (settings) + ",\n"
           "  \"sample_rate_hz\": " + number (a.sampleRate, 0) + ",\n"
           "  \"channels\": " + quoted (channels) + ",\n"
           "  \"length_s\": " + number (a.lengthSeconds, 3) + ",\n"
           "  \"first_arrival\": { \"time_ms\": " + number (a.firstArrivalSeconds * 1000.0, 3)
               + ", \"level_dbfs\": " + number (a.firstArrivalLevelDb, 2) + " },\n"
           "  \"echo_density\": { \"normalised_first_100ms\": " + number (a.echoDensityFirst100ms, 3) + ", \"reaches_1_after_ms\": "
               + (a.mixingTimeSeconds.has_value() ? number (*a.mixingTimeSeconds * 1000.0, 0) : juce::String ("null")) + " },\n"
           "  \"octave_bands\": [\n" + bands.joinIntoString (",\n") + "\n  ],\n"
           "  \"broadband\": " + bandObject (a.broadband, "  ") + "\n"
           "}\n";
}
} // namespace nadrix
