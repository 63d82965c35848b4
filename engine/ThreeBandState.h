// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace nadrix
{
// Splits one signal into low, mid and high bands with two cascades of four
// one-pole low-passes, in double precision. Frequencies and rate in Hz.
// low + mid + high equals the input of three samples before.
struct ThreeBandState
{
    double lowCoefficient;
    double lowPoles[4];
    double highCoefficient;
    double highPoles[4];
    double history[3];
    double lowGain;
    double midGain;
    double highGain;
};

void ThreeBandState_Init (ThreeBandState* state, int lowFrequency, int midFrequency, int sampleRate);
void ThreeBandState_Update (ThreeBandState* state, int lowFrequency, int midFrequency, int sampleRate);

// Added once per sample to the first section of each cascade: keeps a
// silent input from decaying into denormal numbers.
constexpr double ThreeBandState_antiDenormal = 2.3283064370807974e-10;

inline double ThreeBandState_Run_Cascade (double* poles, double coefficient, double x)
{
    poles[0] = ((x - poles[0]) * coefficient + ThreeBandState_antiDenormal) + poles[0];
    for (int k = 1; k < 4; ++k)
        poles[k] = (poles[k - 1] - poles[k]) * coefficient + poles[k];
    return poles[3];
}

// Inline, so that a caller running a block on a local copy of the state
// keeps the poles in registers from sample to sample.
inline void ThreeBandState_Split (ThreeBandState* state, double* low, double* mid, double* high, double x)
{
    const double l = ThreeBandState_Run_Cascade (state->lowPoles, state->lowCoefficient, x);
    const double h = state->history[2] - ThreeBandState_Run_Cascade (state->highPoles, state->highCoefficient, x);
    const double m = state->history[2] - (l + h);
    *low = l * state->lowGain;
    *mid = m * state->midGain;
    *high = h * state->highGain;
    state->history[2] = state->history[1];
    state->history[1] = state->history[0];
    state->history[0] = x;
}
} // namespace nadrix
