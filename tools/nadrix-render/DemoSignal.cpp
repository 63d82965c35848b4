// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/nadrix-render/DemoSignal.h"

#include "ui/editor/SeededDraws.h"

#include <cmath>

namespace nadrix
{
namespace
{
    constexpr double twoPi = 6.283185307179586;

    // A pitch-dropping sine with a fast decay, panned by its two channel gains.
    void addKick (juce::AudioBuffer<float>& b, double rate, double at, float left, float right)
    {
        const int start = (int) (at * rate);
        double phase = 0.0;
        for (int i = 0; i < (int) (0.4 * rate) && start + i < b.getNumSamples(); ++i)
        {
            const double t = i / rate;
            phase += twoPi * (45.0 + 110.0 * std::exp (-t * 30.0)) / rate;
            const auto s = (float) (0.8 * std::sin (phase) * std::exp (-t * 9.0));
            b.addSample (0, start + i, s * left);
            b.addSample (1, start + i, s * right);
        }
    }

    // A noise burst with a short tone under it, like a snare or a clap. Its
    // noise is the seeded rooms' generator's, in whole steps, so that every
    // platform and standard library renders the same demo.
    void addSnare (juce::AudioBuffer<float>& b, double rate, double at, float left, float right, SeededDraws& draws)
    {
        const int start = (int) (at * rate);
        for (int i = 0; i < (int) (0.25 * rate) && start + i < b.getNumSamples(); ++i)
        {
            const double t = i / rate;
            const auto tone = (float) (0.3 * std::sin (twoPi * 190.0 * t) * std::exp (-t * 25.0));
            const auto noise = draws() * 2.0f - 1.0f;
            const auto s = 0.45f * noise * (float) std::exp (-t * 22.0) + tone;
            b.addSample (0, start + i, s * left);
            b.addSample (1, start + i, s * right);
        }
    }

    // A soft saw-like chord: a few harmonics per note, slow attack, hard stop.
    void addChord (juce::AudioBuffer<float>& b, double rate, double from, double to)
    {
        const double notes[] = { 220.0, 261.63, 329.63, 392.0 };
        const int start = (int) (from * rate), end = juce::jmin ((int) (to * rate), b.getNumSamples());
        for (int i = start; i < end; ++i)
        {
            const double t = (i - start) / rate;
            const double envelope = 0.09 * juce::jmin (1.0, t / 0.08) * juce::jmin (1.0, (end - i) / (0.01 * rate));
            double left = 0.0, right = 0.0;
            for (size_t n = 0; n < std::size (notes); ++n)
                for (int h = 1; h <= 4; ++h)
                {
                    const double s = std::sin (twoPi * notes[n] * h * t) / h;
                    (n % 2 == 0 ? left : right) += s * 0.7;
                    (n % 2 == 0 ? right : left) += s * 0.3;
                }
            b.addSample (0, i, (float) (left * envelope));
            b.addSample (1, i, (float) (right * envelope));
        }
    }
}

juce::AudioBuffer<float> makeDemoSignal (double rate)
{
    juce::AudioBuffer<float> b (2, (int) (4.0 * rate));
    b.clear();
    SeededDraws draws (20261206);

    for (int beat = 0; beat < 4; ++beat)
    {
        const double at = 0.1 + beat * 0.45;
        if (beat % 2 == 0)
            addKick (b, rate, at, 0.9f, 0.9f);
        else
            addSnare (b, rate, at, beat == 1 ? 1.0f : 0.6f, beat == 1 ? 0.6f : 1.0f, draws);
    }

    addChord (b, rate, 2.0, 3.2);
    return b;
}
} // namespace nadrix
