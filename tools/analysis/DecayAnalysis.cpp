// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/analysis/DecayAnalysis.h"

#include "tools/analysis/DecayCurve.h"
#include "tools/analysis/EchoDensity.h"
#include "tools/analysis/OctaveBands.h"

#include <cmath>

namespace nadrix
{
namespace
{
    constexpr double arrivalBelowPeakDb = -20.0;
    // Below -120 dBFS a response is taken as silence: with every line off and
    // Mix at 1, only the crossfade's leak of the dry impulse (-147 dBFS) is left.
    constexpr double silentPeak = 1.0e-6;

    std::vector<std::vector<double>> channelsOf (const juce::AudioBuffer<float>& response)
    {
        std::vector<std::vector<double>> channels;
        for (int ch = 0; ch < response.getNumChannels(); ++ch)
        {
            const float* data = response.getReadPointer (ch);
            channels.emplace_back (data, data + response.getNumSamples());
        }
        return channels;
    }

    // Every channel's energy, summed, from the first arrival on.
    std::vector<double> energyFrom (const std::vector<std::vector<double>>& channels, size_t first)
    {
        std::vector<double> energy (channels.front().size() - first, 0.0);
        for (const auto& channel : channels)
            for (size_t i = first; i < channel.size(); ++i)
                energy[i - first] += channel[i] * channel[i];
        return energy;
    }

    double energyOver (const std::vector<double>& energy, size_t first, size_t end)
    {
        double sum = 0.0;
        for (size_t i = first; i < std::min (end, energy.size()); ++i)
            sum += energy[i];
        return sum;
    }

    DecayAnalysis::Band measure (double centre, const std::vector<double>& energy, double rate)
    {
        DecayAnalysis::Band band;
        band.centreHz = centre;
        band.curveDb = DecayCurve::schroederDb (energy);

        for (size_t i = band.curveDb.size(); i-- > 0;)
            if (band.curveDb[i] > -400.0)
            {
                band.decayRangeDb = -band.curveDb[i];
                break;
            }

        // A fit the curve strays far from (a few separate echoes, or a dry
        // impulse followed by a plateau) gives no decay time, only the reason.
        auto straightFit = [&] (const char* name, double fromDb, double toDb) -> std::optional<DecayCurve::Fit> {
            const auto f = DecayCurve::fit (band.curveDb, rate, fromDb, toDb);
            if (f.has_value() && f->nonlinearityPermille > DecayAnalysis::straightDecayLimit)
            {
                band.curved.push_back ({ name, f->nonlinearityPermille });
                return std::nullopt;
            }
            return f;
        };
        // Where the first 10 dB go in a couple of milliseconds the first
        // arrival carries the energy, and an octave filter's own ringing, not
        // the room, would set the figure: no EDT then.
        if (const auto f = straightFit ("EDT", 0.0, -10.0); f.has_value() && DecayCurve::decayTime (*f) >= DecayAnalysis::shortestEdt)
            band.edt = DecayCurve::decayTime (*f);
        if (const auto f = straightFit ("T20", -5.0, -25.0))
            band.t20 = DecayCurve::decayTime (*f);
        if (const auto f = straightFit ("T30", -5.0, -35.0))
        {
            band.t30 = DecayCurve::decayTime (*f);
            band.t30SlopeDbPerSecond = f->dbPerSecond;
            band.t30InterceptDb = f->interceptDb;
        }

        const double total = energyOver (energy, 0, energy.size());
        const auto at = [rate] (double seconds) { return (size_t) std::llround (seconds * rate); };
        const double early80 = energyOver (energy, 0, at (0.080)), early50 = energyOver (energy, 0, at (0.050));
        if (total > 0.0 && total > early80)
            band.c80 = 10.0 * std::log10 (early80 / (total - early80));
        if (total > 0.0)
            band.d50 = 100.0 * early50 / total;
        return band;
    }
}

DecayAnalysis DecayAnalysis::of (const juce::AudioBuffer<float>& response, double rate, const std::function<void (double)>& progress)
{
    DecayAnalysis a;
    a.sampleRate = rate;
    a.lengthSeconds = response.getNumSamples() / rate;
    if (response.getNumChannels() == 0 || response.getNumSamples() == 0)
        return a;

    float peak = 0.0f;
    for (int ch = 0; ch < response.getNumChannels(); ++ch)
        peak = std::max (peak, response.getMagnitude (ch, 0, response.getNumSamples()));
    if (! (peak > silentPeak))
        return a;
    a.silent = false;

    const auto channels = channelsOf (response);
    const double threshold = peak * std::pow (10.0, arrivalBelowPeakDb / 20.0);
    size_t first = 0;
    while (first < channels.front().size() && std::none_of (channels.begin(), channels.end(), [&] (const auto& c) { return std::abs (c[first]) >= threshold; }))
        ++first;
    a.firstArrivalSeconds = (double) first / rate;

    double arrivalPeak = 0.0; // the arrival's own peak, over the millisecond it starts
    for (const auto& c : channels)
        for (size_t i = first; i < std::min (c.size(), first + (size_t) (0.001 * rate) + 1); ++i)
            arrivalPeak = std::max (arrivalPeak, std::abs (c[i]));
    a.firstArrivalLevelDb = 20.0 * std::log10 (arrivalPeak);

    // The echo density of the channels' mid signal, from the first arrival.
    std::vector<double> mid (channels.front().size() - first, 0.0);
    for (const auto& c : channels)
        for (size_t i = first; i < c.size(); ++i)
            mid[i - first] += c[i] / (double) channels.size();
    constexpr double step = 0.001;
    const auto density = EchoDensity::profile (mid, rate, step);
    double sum = 0.0;
    int counted = 0;
    for (size_t k = 0; k < density.size(); ++k)
    {
        if ((double) k * step <= 0.100)
            sum += density[k], ++counted;
        if (! a.mixingTimeSeconds.has_value() && density[k] >= 1.0)
            a.mixingTimeSeconds = (double) k * step;
    }
    a.echoDensityFirst100ms = counted > 0 ? sum / counted : 0.0;

    std::vector<double> centres;
    for (double c : OctaveBands::centres)
        if (c * std::sqrt (2.0) < rate / 2.0)
            centres.push_back (c);

    a.broadband = measure (0.0, energyFrom (channels, first), rate);
    for (size_t b = 0; b < centres.size(); ++b)
    {
        std::vector<std::vector<double>> filtered;
        for (const auto& c : channels)
            filtered.push_back (OctaveBands::filtered (c, rate, centres[b]));
        a.bands.push_back (measure (centres[b], energyFrom (filtered, first), rate));
        if (progress)
            progress ((double) (b + 1) / (double) centres.size());
    }
    return a;
}
} // namespace nadrix
