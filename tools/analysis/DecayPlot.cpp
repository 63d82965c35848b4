// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/analysis/DecayPlot.h"

#include <juce_dsp/juce_dsp.h>

#include <cmath>

namespace nadrix
{
namespace
{
    // The artwork's colours: its dark and light teal, and the greens,
    // yellows and pinks of the fan's dots.
    const juce::Colour background (0xFF24404F), panel (0xFF2F5568), grid (0xFF42708A), text (0xFFFFFFFF), dimText (0xFFBFCCE6);
    const juce::Colour bandColours[] = { juce::Colour (0xFF7FCCE6), juce::Colour (0xFF8FD8D0), juce::Colour (0xFF8FE0A8), juce::Colour (0xFFC8F094),
                                         juce::Colour (0xFFFFFF80), juce::Colour (0xFFFFD8A0), juce::Colour (0xFFFFCCE6) };

    constexpr double floorDb = -90.0;

    juce::Colour heat (double share) // 0: quiet, 1: loud
    {
        const juce::Colour stops[] = { background, juce::Colour (0xFF42708A), juce::Colour (0xFF7FCCE6), juce::Colour (0xFF8FE0A8), juce::Colour (0xFFFFFF80), text };
        const double x = juce::jlimit (0.0, 1.0, share) * 5.0;
        const int i = juce::jmin (4, (int) x);
        return stops[i].interpolatedWith (stops[i + 1], (float) (x - i));
    }

    struct Axes
    {
        juce::Rectangle<float> area;
        double x0, x1, y0, y1; // data ranges: left, right, bottom, top

        float x (double v) const { return area.getX() + (float) ((v - x0) / (x1 - x0)) * area.getWidth(); }
        float y (double v) const { return area.getBottom() - (float) ((v - y0) / (y1 - y0)) * area.getHeight(); }
    };

    void drawFrame (juce::Graphics& g, const Axes& a, const juce::String& title, const juce::String& xLabel, const juce::String& yLabel,
                    double xStep, double yStep, bool logY = false)
    {
        g.setColour (panel);
        g.fillRect (a.area.expanded (4.0f));
        g.setFont (13.0f);
        for (double v = std::ceil (a.x0 / xStep) * xStep; v <= a.x1 + 1e-9; v += xStep)
        {
            g.setColour (grid);
            g.drawVerticalLine ((int) a.x (v), a.area.getY(), a.area.getBottom());
            g.setColour (dimText);
            g.drawText (juce::String (v, xStep < 0.1 ? 2 : 1), juce::Rectangle<float> (a.x (v) - 30.0f, a.area.getBottom() + 6.0f, 60.0f, 16.0f),
                        juce::Justification::centred);
        }
        auto label = [&] (double v, const juce::String& s) {
            g.setColour (grid);
            g.drawHorizontalLine ((int) a.y (v), a.area.getX(), a.area.getRight());
            g.setColour (dimText);
            g.drawText (s, juce::Rectangle<float> (a.area.getX() - 64.0f, a.y (v) - 8.0f, 56.0f, 16.0f), juce::Justification::centredRight);
        };
        if (logY)
            for (double f : { 100.0, 200.0, 500.0, 1000.0, 2000.0, 5000.0, 10000.0, 20000.0 })
            {
                if (f >= std::pow (10.0, a.y0) && f <= std::pow (10.0, a.y1))
                    label (std::log10 (f), f >= 1000.0 ? juce::String (f / 1000.0, 0) + "k" : juce::String (f, 0));
            }
        else
            for (double v = std::ceil (a.y0 / yStep) * yStep; v <= a.y1 + 1e-9; v += yStep)
                label (v, juce::String (v, 0));

        g.setColour (text);
        g.setFont (juce::Font (16.0f, juce::Font::bold));
        g.drawText (title, a.area.withY (a.area.getY() - 28.0f).withHeight (22.0f), juce::Justification::centredLeft);
        g.setFont (13.0f);
        g.setColour (dimText);
        g.drawText (xLabel, juce::Rectangle<float> (a.area.getX(), a.area.getBottom() + 22.0f, a.area.getWidth(), 16.0f), juce::Justification::centred);
        juce::Graphics::ScopedSaveState turned (g);
        g.addTransform (juce::AffineTransform::rotation (-juce::MathConstants<float>::halfPi, a.area.getX() - 72.0f, a.area.getCentreY()));
        g.drawText (yLabel, juce::Rectangle<float> (a.area.getX() - 72.0f - 120.0f, a.area.getCentreY() - 8.0f, 240.0f, 16.0f), juce::Justification::centred);
    }

    // A falling curve ends where it leaves the plot at the bottom; a level
    // that comes and goes (the echogram) is held at the bottom edge instead.
    enum class BelowFloor { ends, held };

    void drawCurve (juce::Graphics& g, const Axes& a, const std::vector<double>& valuesDb, double pointsPerSecond, double offsetSeconds,
                    juce::Colour colour, float thickness, BelowFloor belowFloor)
    {
        juce::Path p;
        const auto stride = juce::jmax ((size_t) 1, valuesDb.size() / 2000);
        bool started = false;
        for (size_t i = 0; i < valuesDb.size(); i += stride)
        {
            const double t = offsetSeconds + (double) i / pointsPerSecond;
            if (t > a.x1 || (valuesDb[i] < a.y0 && belowFloor == BelowFloor::ends))
                break;
            const juce::Point<float> point (a.x (t), a.y (std::max (valuesDb[i], a.y0)));
            started ? p.lineTo (point) : p.startNewSubPath (point);
            started = true;
        }
        g.setColour (colour);
        g.strokePath (p, juce::PathStrokeType (thickness));
    }

    double plotSeconds (const DecayAnalysis& a)
    {
        const auto& curve = a.broadband.curveDb;
        for (size_t i = 0; i < curve.size(); ++i)
            if (curve[i] < -80.0)
                return juce::jmax (0.1, a.firstArrivalSeconds + 1.1 * (double) i / a.sampleRate);
        return a.lengthSeconds;
    }

    double niceStep (double span)
    {
        for (double step : { 0.01, 0.02, 0.05, 0.1, 0.2, 0.5, 1.0, 2.0, 5.0, 10.0 })
            if (span / step <= 10.0)
                return step;
        return 20.0;
    }

    void drawDecayCurves (juce::Graphics& g, const DecayAnalysis& a, const Axes& axes)
    {
        drawFrame (g, axes, "Energy decay per octave band, with T30 lines", "time (s)", "level (dB)", niceStep (axes.x1), 10.0);
        g.saveState();
        g.reduceClipRegion (axes.area.toNearestInt());
        for (size_t b = 0; b < a.bands.size(); ++b)
        {
            const auto& band = a.bands[b];
            const auto colour = bandColours[b % std::size (bandColours)];
            drawCurve (g, axes, band.curveDb, a.sampleRate, a.firstArrivalSeconds, colour, 2.0f, BelowFloor::ends);
            if (band.t30SlopeDbPerSecond.has_value())
            {
                juce::Path line;
                const double t0 = 0.0, t1 = axes.x1 - a.firstArrivalSeconds;
                line.startNewSubPath (axes.x (a.firstArrivalSeconds + t0), axes.y (*band.t30InterceptDb + *band.t30SlopeDbPerSecond * t0));
                line.lineTo (axes.x (a.firstArrivalSeconds + t1), axes.y (*band.t30InterceptDb + *band.t30SlopeDbPerSecond * t1));
                juce::Path dashed;
                const float dashes[] = { 6.0f, 5.0f };
                juce::PathStrokeType (1.2f).createDashedStroke (dashed, line, dashes, 2);
                g.setColour (colour.withAlpha (0.8f));
                g.fillPath (dashed);
            }
        }
        g.restoreState();

        // The legend: each band with its T30.
        g.setFont (13.0f);
        auto legend = juce::Rectangle<float> (axes.area.getRight() - 170.0f, axes.area.getY() + 8.0f, 160.0f, 18.0f);
        for (size_t b = 0; b < a.bands.size(); ++b, legend.translate (0.0f, 18.0f))
        {
            const auto& band = a.bands[b];
            g.setColour (bandColours[b % std::size (bandColours)]);
            g.fillRect (legend.withWidth (18.0f).withSizeKeepingCentre (18.0f, 3.0f));
            g.setColour (text);
            const auto name = band.centreHz >= 1000.0 ? juce::String (band.centreHz / 1000.0, 0) + " kHz" : juce::String (band.centreHz, 0) + " Hz";
            g.drawText (name + "   T30 " + (band.t30.has_value() ? juce::String (*band.t30, 2) + " s" : juce::String ("-")),
                        legend.withTrimmedLeft (26.0f), juce::Justification::centredLeft);
        }
    }

    std::vector<double> midOf (const juce::AudioBuffer<float>& response)
    {
        std::vector<double> mid ((size_t) response.getNumSamples(), 0.0);
        for (int ch = 0; ch < response.getNumChannels(); ++ch)
            for (int i = 0; i < response.getNumSamples(); ++i)
                mid[(size_t) i] += response.getSample (ch, i) / (double) response.getNumChannels();
        return mid;
    }

    void drawEchogram (juce::Graphics& g, const DecayAnalysis& a, const juce::AudioBuffer<float>& response, const Axes& axes)
    {
        drawFrame (g, axes, "Echogram (broadband)", "time (s)", "energy (dB re peak)", niceStep (axes.x1), 10.0);
        const auto mid = midOf (response);
        const auto window = juce::jmax ((size_t) 1, (size_t) (0.002 * a.sampleRate)); // 2 ms of energy per point
        std::vector<double> levels;
        double peak = 0.0;
        for (size_t i = 0; i + window <= mid.size(); i += window)
        {
            double e = 0.0;
            for (size_t k = i; k < i + window; ++k)
                e += mid[k] * mid[k];
            levels.push_back (e / (double) window);
            peak = std::max (peak, levels.back());
        }
        for (auto& l : levels)
            l = l > 0.0 && peak > 0.0 ? 10.0 * std::log10 (l / peak) : floorDb;
        g.saveState();
        g.reduceClipRegion (axes.area.toNearestInt());
        drawCurve (g, axes, levels, a.sampleRate / (double) window, 0.0, bandColours[2], 1.0f, BelowFloor::held);
        g.restoreState();
    }

    void drawSpectrogram (juce::Graphics& g, const DecayAnalysis& a, const juce::AudioBuffer<float>& response, const Axes& axes)
    {
        drawFrame (g, axes, "Spectrogram", "time (s)", "frequency (Hz)", niceStep (axes.x1), 1.0, true);
        constexpr int order = 11, size = 1 << order;
        juce::dsp::FFT fft (order);
        juce::dsp::WindowingFunction<float> hann (size, juce::dsp::WindowingFunction<float>::hann, false);
        const auto mid = midOf (response);

        const int columns = (int) axes.area.getWidth(), rows = (int) axes.area.getHeight();
        juce::Image picture (juce::Image::RGB, columns, rows, true);
        std::vector<std::vector<float>> spectra;
        float loudest = 1.0e-12f;
        for (int column = 0; column < columns; ++column)
        {
            const double t = axes.x0 + (axes.x1 - axes.x0) * (column + 0.5) / columns;
            const auto centre = (long) (t * a.sampleRate);
            std::vector<float> frame (2 * size, 0.0f);
            for (int k = 0; k < size; ++k)
            {
                const long i = centre - size / 2 + k;
                frame[(size_t) k] = i >= 0 && i < (long) mid.size() ? (float) mid[(size_t) i] : 0.0f;
            }
            hann.multiplyWithWindowingTable (frame.data(), (size_t) size);
            fft.performFrequencyOnlyForwardTransform (frame.data());
            frame.resize (size / 2);
            for (float m : frame)
                loudest = std::max (loudest, m);
            spectra.push_back (std::move (frame));
        }

        for (int column = 0; column < columns; ++column)
            for (int row = 0; row < rows; ++row)
            {
                const double frequency = std::pow (10.0, axes.y0 + (axes.y1 - axes.y0) * (rows - row - 0.5) / rows);
                const auto bin = juce::jlimit (1, size / 2 - 1, (int) std::lround (frequency * size / a.sampleRate));
                const double db = 20.0 * std::log10 (std::max (1.0e-12f, spectra[(size_t) column][(size_t) bin]) / loudest);
                picture.setPixelAt (column, row, heat ((db - floorDb) / -floorDb));
            }
        g.drawImageAt (picture, (int) axes.area.getX(), (int) axes.area.getY());
    }
}

juce::Image DecayPlot::draw (const DecayAnalysis& a, const juce::AudioBuffer<float>& response, const juce::String& settings)
{
    juce::Image image (juce::Image::RGB, width, height, true);
    juce::Graphics g (image);
    g.fillAll (background);

    g.setColour (text);
    g.setFont (juce::Font (22.0f, juce::Font::bold));
    g.drawText ("Nadrix: " + settings, juce::Rectangle<int> (24, 14, width - 48, 28), juce::Justification::centredLeft);
    g.setColour (dimText);
    g.setFont (14.0f);
    const auto t30 = a.broadband.t30.has_value() ? juce::String (*a.broadband.t30, 2) + " s" : juce::String ("-");
    g.drawText ("impulse response at " + juce::String (a.sampleRate, 0) + " Hz, " + juce::String (a.lengthSeconds, 2) + " s; broadband T30 " + t30
                    + ", EDT " + (a.broadband.edt.has_value() ? juce::String (*a.broadband.edt, 2) + " s" : juce::String ("-")),
                juce::Rectangle<int> (24, 42, width - 48, 20), juce::Justification::centredLeft);

    const double seconds = plotSeconds (a);
    drawDecayCurves (g, a, { { 96.0f, 104.0f, (float) width - 130.0f, 330.0f }, 0.0, seconds, floorDb, 0.0 });
    drawEchogram (g, a, response, { { 96.0f, 540.0f, 460.0f, 300.0f }, 0.0, seconds, floorDb, 0.0 });
    drawSpectrogram (g, a, response, { { 690.0f, 540.0f, 476.0f, 300.0f }, 0.0, seconds, std::log10 (50.0), std::log10 (a.sampleRate / 2.0) });
    return image;
}

juce::Result DecayPlot::write (const juce::Image& plot, const juce::File& file)
{
    file.deleteFile();
    juce::FileOutputStream out (file);
    if (! out.openedOk() || ! juce::PNGImageFormat().writeImageToStream (plot, out))
        return juce::Result::fail ("cannot write the plot '" + file.getFullPathName() + "'");
    return juce::Result::ok();
}
} // namespace nadrix
