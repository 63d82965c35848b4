// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

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

void init_3band_state (ThreeBandState* state, int lowFrequency, int midFrequency, int sampleRate);
void update_3band_state (ThreeBandState* state, int lowFrequency, int midFrequency, int sampleRate);
void do_3band_sep (ThreeBandState* state, double* low, double* mid, double* high, double x);
