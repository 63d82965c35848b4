// SPDX-License-Identifier: GPL-3.0-or-later
#include "AnalysisReport.h"

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

    // Why a band has no decay time: how far its decay falls within the response.
    juce::String missingNote (const DecayAnalysis::Band& band)
    {
        if (band.t30.has_value())
            return {};
        return bandName (band.centreHz) + ": the decay falls only " + juce::String (band.decayRangeDb, 1) + " dB within the response"
             + (band.edt.has_value() ? ", too little for T30" : ", too little for any decay time");
    }

    juce::var number (const std::optional<double>& value, int decimals)
    {
        return value.has_value() ? juce::var (std::round (*value * std::pow (10.0, decimals)) / std::pow (10.0, decimals)) : juce::var();
    }

    juce::var bandObject (const DecayAnalysis::Band& band)
    {
        auto* o = new juce::DynamicObject();
        o->setProperty ("band_hz", band.centreHz > 0.0 ? juce::var (band.centreHz) : juce::var ("broadband"));
        o->setProperty ("edt_s", number (band.edt, 3));
        o->setProperty ("t20_s", number (band.t20, 3));
        o->setProperty ("t30_s", number (band.t30, 3));
        o->setProperty ("c80_db", number (band.c80, 2));
        o->setProperty ("d50_percent", number (band.d50, 1));
        o->setProperty ("decay_range_db", number (band.decayRangeDb, 1));
        if (const auto note = missingNote (band); note.isNotEmpty())
            o->setProperty ("note", note);
        return juce::var (o);
    }
}

juce::String AnalysisReport::asText (const DecayAnalysis& a, const juce::String& settings)
{
    juce::String text;
    text << "Impulse response of " << settings << ": " << juce::String (a.lengthSeconds, 2) << " s at " << juce::String (a.sampleRate, 0) << " Hz\n"
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

juce::String AnalysisReport::asJson (const DecayAnalysis& a, const juce::String& settings)
{
    auto* root = new juce::DynamicObject();
    root->setProperty ("settings", settings);
    root->setProperty ("sample_rate_hz", a.sampleRate);
    root->setProperty ("length_s", number (a.lengthSeconds, 3));

    auto* arrival = new juce::DynamicObject();
    arrival->setProperty ("time_ms", number (a.firstArrivalSeconds * 1000.0, 3));
    arrival->setProperty ("level_dbfs", number (a.firstArrivalLevelDb, 2));
    root->setProperty ("first_arrival", juce::var (arrival));

    auto* density = new juce::DynamicObject();
    density->setProperty ("normalised_first_100ms", number (a.echoDensityFirst100ms, 3));
    density->setProperty ("reaches_1_after_ms", a.mixingTimeSeconds.has_value() ? number (*a.mixingTimeSeconds * 1000.0, 0) : juce::var());
    root->setProperty ("echo_density", juce::var (density));

    juce::Array<juce::var> bands;
    for (const auto& b : a.bands)
        bands.add (bandObject (b));
    root->setProperty ("octave_bands", bands);
    root->setProperty ("broadband", bandObject (a.broadband));
    return juce::JSON::toString (juce::var (root), false) + "\n";
}
