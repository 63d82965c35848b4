// SPDX-License-Identifier: GPL-3.0-or-later
// The impulse response, its decay analysis and its plot: figures against
// cases with known answers, the file against the ordinary render path.
#include "tools/analysis/AnalysisReport.h"
#include "tools/analysis/DecayAnalysis.h"
#include "tools/analysis/OctaveBands.h"
#include "tests/tools/RenderTestKit.h"
#include "engine/ParameterLayout.h"

#include <cmath>

namespace nadrix
{
namespace
{
    // A state with every line off but line 0: feedback g, delay d seconds, the reverb alone.
    juce::File singleLineState (const juce::File& dir, float g, float d, bool lineOn = true)
    {
        NadrixAudioProcessor p;
        for (int j = 0; j < 50; ++j)
            p.setParameterFromUI (ParameterLayout::indexOf (j, ParameterLayout::active), j == 0 && lineOn ? 1.0f : 0.0f, false);
        const float line[] = { 0.5f, 1.0f, g, 0.01f, d, lineOn ? 1.0f : 0.0f, 1.0f };
        for (int k = 0; k < 7; ++k)
            p.setParameterFromUI (7 + k, line[k], false);
        p.setParameterFromUI (0, 1.0f, false);
        const auto state = stateOf (p);
        const auto file = dir.getChildFile (lineOn ? "one-line.state" : "silent.state");
        file.replaceWithData (state.getData(), state.getSize());
        return file;
    }

    juce::var analysisJson (const RenderRun& run) { return juce::JSON::parse (run.output.fromFirstOccurrenceOf ("{", true, false)); }
}

TEST_F (RenderFixture, DecayFiguresMatchCasesWithKnownAnswers)
{
    // One comb: 60 dB in 3 d / -log10 g seconds.
    const float g = 0.9f, d = 0.1f;
    const auto run = runRender ({ "--analyze", "--json", "--state", singleLineState (dir, g, d).getFullPathName() });
    ASSERT_EQ (run.exitCode, 0) << run.output;
    const auto json = analysisJson (run);
    const double expected = 3.0 * (double) d / -std::log10 ((double) g);
    EXPECT_NEAR ((double) json["broadband"]["t30_s"], expected, 0.03 * expected) << run.output;
    EXPECT_EQ (json["octave_bands"].size(), 7);

    // Noise decaying at a known rate in each octave band (rates close enough
    // that no band is swamped by its slower neighbour's skirt).
    const double rate = 44100.0, t30s[] = { 1.5, 1.4, 1.3, 1.2, 1.1, 1.0, 0.9 };
    std::vector<double> noise ((size_t) (3.0 * rate)), sum (noise.size(), 0.0);
    juce::Random random (5);
    for (size_t b = 0; b < 7; ++b)
    {
        for (auto& s : noise)
            s = random.nextDouble() * 2.0 - 1.0;
        const auto band = OctaveBands::filtered (noise, rate, OctaveBands::centres[b]);
        for (size_t i = 0; i < sum.size(); ++i)
            sum[i] += band[i] * std::pow (10.0, -3.0 * (double) i / rate / t30s[b]); // -60 dB at t30
    }
    juce::AudioBuffer<float> decaying (1, (int) sum.size());
    for (size_t i = 0; i < sum.size(); ++i)
        decaying.setSample (0, (int) i, (float) sum[i]);
    const auto bands = DecayAnalysis::of (decaying, rate).bands;
    ASSERT_EQ (bands.size(), 7u);
    for (size_t b = 0; b < 7; ++b)
    {
        ASSERT_TRUE (bands[b].t30.has_value()) << bands[b].centreHz;
        EXPECT_NEAR (*bands[b].t30, t30s[b], 0.05 * t30s[b]) << bands[b].centreHz << " Hz";
    }

    // Two arrivals, 100 ms apart: C80 and D50 from their energies alone.
    juce::AudioBuffer<float> two (2, (int) rate);
    two.clear();
    for (int ch = 0; ch < 2; ++ch)
    {
        two.setSample (ch, 441, 0.5f);
        two.setSample (ch, 441 + 4410, 0.25f);
    }
    const auto a = DecayAnalysis::of (two, rate);
    EXPECT_NEAR (*a.broadband.c80, 10.0 * std::log10 (0.25 / 0.0625), 1e-9);
    EXPECT_NEAR (*a.broadband.d50, 100.0 * 0.25 / (0.25 + 0.0625), 1e-9);
    EXPECT_NEAR (a.firstArrivalSeconds, 0.01, 1e-12);
    EXPECT_NEAR (a.firstArrivalLevelDb, 20.0 * std::log10 (0.5), 1e-6);

    // Two echoes are no decay: the fits over them are far from straight, so
    // no decay time is given, and the report says why.
    EXPECT_FALSE (a.broadband.edt || a.broadband.t20 || a.broadband.t30);
    ASSERT_FALSE (a.broadband.curved.empty());
    EXPECT_GT (a.broadband.curved[0].second, DecayAnalysis::straightDecayLimit);
    const auto report = AnalysisReport::asText (a, "two echoes", "left");
    EXPECT_TRUE (report.contains ("broadband: no EDT, T20, T30: the decay is not a straight line")) << report;
}

TEST (DecayAnalysis, EachDecayTimeIsFittedOverItsOwnRangeOfADoubleSlope)
{
    // A fast decay (T60 0.6 s) over a slow one 17 dB lower (2.4 s): the
    // Schroeder curve bends, so EDT, T20 and T30 each depend on where their
    // fit starts and ends. The known answers are least-squares lines over
    // the curve computed here, from 0 to -10, -5 to -25 and -5 to -35 dB.
    const double rate = 44100.0;
    const int n = (int) (4.0 * rate);
    std::vector<double> energy ((size_t) n), curveDb ((size_t) n);
    juce::AudioBuffer<float> response (1, n);
    for (int i = 0; i < n; ++i)
    {
        const double t = i / rate;
        energy[(size_t) i] = std::pow (10.0, -6.0 * t / 0.6) + 0.02 * std::pow (10.0, -6.0 * t / 2.4);
        response.setSample (0, i, (float) std::sqrt (energy[(size_t) i]));
    }
    double tail = 0.0;
    for (int i = n; --i >= 0;)
        curveDb[(size_t) i] = tail += energy[(size_t) i];
    for (int i = n; --i >= 0;)
        curveDb[(size_t) i] = 10.0 * std::log10 (curveDb[(size_t) i] / tail);

    auto decayTimeOver = [&] (double upperDb, double lowerDb) {
        double count = 0.0, sumT = 0.0, sumDb = 0.0, sumTT = 0.0, sumTDb = 0.0;
        for (int i = 0; i < n; ++i)
            if (curveDb[(size_t) i] <= upperDb && curveDb[(size_t) i] >= lowerDb)
            {
                const double t = i / rate, db = curveDb[(size_t) i];
                count += 1.0, sumT += t, sumDb += db, sumTT += t * t, sumTDb += t * db;
            }
        const double slope = (count * sumTDb - sumT * sumDb) / (count * sumTT - sumT * sumT);
        return -60.0 / slope;
    };

    const auto broadband = DecayAnalysis::of (response, rate).broadband;
    ASSERT_TRUE (broadband.edt && broadband.t20 && broadband.t30);
    EXPECT_NEAR (*broadband.edt, decayTimeOver (0.0, -10.0), 0.01 * *broadband.edt);   // about 0.70 s
    EXPECT_NEAR (*broadband.t20, decayTimeOver (-5.0, -25.0), 0.01 * *broadband.t20);  // about 1.63 s
    EXPECT_NEAR (*broadband.t30, decayTimeOver (-5.0, -35.0), 0.01 * *broadband.t30);  // about 2.05 s, 1.90 s if fitted to -30 dB
}

TEST_F (RenderFixture, TheImpulseFileIsTheOrdinaryRenderOfAnImpulseAndThePlotIsDrawn)
{
    const auto ir = dir.getChildFile ("ir.wav"), plot = dir.getChildFile ("plot.png");
    const auto made = runRender ({ "--impulse", ir.getFullPathName(), "--plot", plot.getFullPathName(), "--program", "Nice Hall" });
    ASSERT_EQ (made.exitCode, 0) << made.output;
    double rate = 0;
    const auto response = readAudio (ir, rate);
    EXPECT_EQ (rate, 44100.0);
    ASSERT_GT (response.getNumSamples(), (int) (2.0 * rate));

    juce::WavAudioFormat wav;
    const auto in = writeAudio ("impulse.wav", wav, impulseBuffer (2, response.getNumSamples()), 44100.0, 32);
    const auto out = dir.getChildFile ("rendered.wav");
    ASSERT_EQ (runRender ({ in.getFullPathName(), "-o", out.getFullPathName(), "--program", "Nice Hall", "--tail", "0" }).exitCode, 0);
    EXPECT_TRUE (identical (readAudio (out, rate), response));

    const auto picture = juce::ImageFileFormat::loadFrom (plot);
    ASSERT_EQ (picture.getBounds(), juce::Rectangle<int> (0, 0, 1200, 900));
    const auto background = picture.getPixelAt (2, 2);
    int drawn = 0;
    for (int y = 0; y < 900; y += 3)
        for (int x = 0; x < 1200; x += 3)
            drawn += picture.getPixelAt (x, y) != background ? 1 : 0;
    EXPECT_GT (drawn, 400 * 300 / 4) << "the plot is mostly blank";
    int titleText = 0;
    for (int x = 24; x < 600; ++x)
        titleText += picture.getPixelAt (x, 28).getBrightness() > 0.8f ? 1 : 0;
    EXPECT_GT (titleText, 20) << "no title";
}

TEST_F (RenderFixture, AnalysingSilenceSaysSoAndFails)
{
    const auto run = runRender ({ "--analyze", "--state", singleLineState (dir, 0.5f, 0.1f, false).getFullPathName() });
    EXPECT_EQ (run.exitCode, 1);
    EXPECT_TRUE (run.output.contains ("is silent")) << run.output;
    EXPECT_EQ (runRender ({ "--json" }).exitCode, 2);
    EXPECT_EQ (runRender ({ "--analyze", "-o", dir.getChildFile ("x.wav").getFullPathName() }).exitCode, 2);
}

TEST_F (RenderFixture, TheReverbKeepsItsSecondsAtEveryRate)
{
    // The reverb alone: a unit impulse's share of the energy grows as the
    // rate falls, so with the dry part in, the broadband curve would differ
    // for that reason alone. Each octave band a rate holds decays as at
    // 44.1 kHz too (the bands to 2 kHz at 8 kHz).
    const auto at = [this] (int rate, juce::var& json, double& firstMs) {
        const auto ir = dir.getChildFile ("ir" + juce::String (rate) + ".wav");
        const auto run = runRender ({ "--analyze", "--json", "--impulse", ir.getFullPathName(), "--wet-only", "--program", "Nice Hall",
                                      "--rate", juce::String (rate) });
        ASSERT_EQ (run.exitCode, 0) << run.output;
        json = analysisJson (run);

        double fileRate = 0;
        const auto response = readAudio (ir, fileRate);
        int first = 0;
        while (first < response.getNumSamples() && std::abs (response.getSample (0, first)) <= 1.0e-7f)
            ++first;
        firstMs = 1000.0 * first / fileRate;
    };
    const auto bandT30s = [] (const juce::var& json) {
        std::map<int, double> t30;
        for (const auto& band : *json["octave_bands"].getArray())
            if (band["band_hz"].isDouble() || band["band_hz"].isInt())
                t30[(int) band["band_hz"]] = band["t30_s"].isVoid() ? 0.0 : (double) band["t30_s"];
        return t30;
    };

    juce::var reference;
    double firstAt44k = 0;
    at (44100, reference, firstAt44k);
    const double t30At44k = reference["broadband"]["t30_s"];
    ASSERT_GT (t30At44k, 1.0);
    const auto bandsAt44k = bandT30s (reference);
    for (int rate : { 8000, 11025, 16000, 22050, 32000, 48000, 96000 })
    {
        juce::var json;
        double firstMs = 0;
        at (rate, json, firstMs);
        EXPECT_NEAR ((double) json["broadband"]["t30_s"], t30At44k, 0.03 * t30At44k) << rate << " Hz";
        EXPECT_NEAR (firstMs, firstAt44k, 1000.0 / rate) << rate << " Hz: the first reflection";
        int bands = 0;
        for (const auto& [hz, t30] : bandT30s (json))
            if (hz <= rate / 4 && t30 > 0.0)
            {
                EXPECT_NEAR (t30, bandsAt44k.at (hz), 0.05 * bandsAt44k.at (hz)) << rate << " Hz, the " << hz << " Hz band";
                ++bands;
            }
        EXPECT_GE (bands, 5) << rate << " Hz";
    }
}

TEST_F (RenderFixture, TheReportSaysWhichChannelsItMeasuredAndGivesNoEdtWhereTheFirstArrivalSetsIt)
{
    std::map<juce::String, double> t30;
    for (const char* channel : { "left", "right", "sum" })
    {
        const auto run = runRender ({ "--analyze", "--json", "--program", "Nice Hall", "--channel", channel });
        ASSERT_EQ (run.exitCode, 0) << run.output;
        const auto json = analysisJson (run);
        t30[channel] = (double) json["broadband"]["t30_s"];
        EXPECT_TRUE (json["channels"].toString().startsWith (juce::String (channel) == "sum" ? "left and right" : channel)) << run.output;
        EXPECT_EQ (json["broadband"]["band"].toString(), "broadband");
        EXPECT_TRUE (json["broadband"]["band_hz"].isVoid()) << run.output; // null: every band_hz is a number or nothing
        EXPECT_EQ ((int) json["octave_bands"][3]["band_hz"], 1000);
    }
    EXPECT_GT (std::abs (t30["left"] - t30["right"]), 0.5); // the two sides decay differently
    EXPECT_GT (t30["sum"], std::min (t30["left"], t30["right"]));
    EXPECT_LT (t30["sum"], std::max (t30["left"], t30["right"]));

    // Robotizer's 4 kHz band falls 10 dB at once: no EDT, and the reason.
    const auto robot = analysisJson (runRender ({ "--analyze", "--json", "--program", "Robotizer" }));
    const auto band4k = robot["octave_bands"][5];
    ASSERT_EQ ((int) band4k["band_hz"], 4000);
    EXPECT_TRUE (band4k["edt_s"].isVoid());
    EXPECT_TRUE (band4k["note"].toString().contains ("falls 10 dB at once")) << band4k["note"].toString();
    EXPECT_EQ (runRender ({ "--program", "Robotizer", "--channel", "left" }).exitCode, 2);
}
} // namespace nadrix
