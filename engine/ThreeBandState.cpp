// SPDX-License-Identifier: GPL-3.0-or-later
#include "ThreeBandState.h"

#include <cmath>
#include <cstring>

namespace
{
    double coefficientFor (int frequency, int sampleRate)
    {
        return 2.0 * std::sin ((double) frequency / (double) sampleRate * M_PI);
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
