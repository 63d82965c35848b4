// SPDX-License-Identifier: GPL-3.0-or-later
#include "ThreeBandState.h"

#include <cmath>
#include <cstring>

namespace
{
    // Added once per sample to the first section of each cascade: keeps a
    // silent input from decaying into denormal numbers.
    constexpr double antiDenormal = 2.3283064370807974e-10;

    double coefficientFor (int frequency, int sampleRate)
    {
        return 2.0 * std::sin ((double) frequency / (double) sampleRate * M_PI);
    }

    double runCascade (double* poles, double coefficient, double x)
    {
        poles[0] = ((x - poles[0]) * coefficient + antiDenormal) + poles[0];
        for (int k = 1; k < 4; ++k)
            poles[k] = (poles[k - 1] - poles[k]) * coefficient + poles[k];
        return poles[3];
    }
}

void init_3band_state (ThreeBandState* state, int lowFrequency, int midFrequency, int sampleRate)
{
    std::memset (state, 0, sizeof (ThreeBandState));
    update_3band_state (state, lowFrequency, midFrequency, sampleRate);
}

void update_3band_state (ThreeBandState* state, int lowFrequency, int midFrequency, int sampleRate)
{
    state->lowGain = 1.0;
    state->midGain = 1.0;
    state->highGain = 1.0;
    state->lowCoefficient = coefficientFor (lowFrequency, sampleRate);
    state->highCoefficient = coefficientFor (midFrequency, sampleRate);
}

void do_3band_sep (ThreeBandState* state, double* low, double* mid, double* high, double x)
{
    const double l = runCascade (state->lowPoles, state->lowCoefficient, x);
    const double h = state->history[2] - runCascade (state->highPoles, state->highCoefficient, x);
    const double m = state->history[2] - (l + h);

    *low = l * state->lowGain;
    *mid = m * state->midGain;
    *high = h * state->highGain;

    state->history[2] = state->history[1];
    state->history[1] = state->history[0];
    state->history[0] = x;
}
