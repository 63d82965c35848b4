// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/ThreeBandState.h"

#include <cmath>
#include <cstring>

namespace nadrix
{
namespace
{
    // 10 kHz, a little above the highest split the parameters reach (9.1 kHz),
    // as a share of the 44.1 kHz the splitter was made for: at lower rates a
    // split is held at that share of the rate, so the filters never get a
    // coefficient they cannot get at 44.1 kHz and no split reaches the
    // Nyquist frequency. At 44.1 kHz and above it never binds.
    constexpr double highestSplitShare = 10000.0 / 44100.0;

    double coefficientFor (int frequency, int sampleRate)
    {
        const auto highest = (int) ((double) sampleRate * highestSplitShare);
        if (frequency > highest)
            frequency = highest;
        return 2.0 * std::sin ((double) frequency / (double) sampleRate * M_PI);
    }
}

void ThreeBandState_Init (ThreeBandState* state, int lowFrequency, int midFrequency, int sampleRate)
{
    std::memset (state, 0, sizeof (ThreeBandState));
    ThreeBandState_Update (state, lowFrequency, midFrequency, sampleRate);
}

void ThreeBandState_Update (ThreeBandState* state, int lowFrequency, int midFrequency, int sampleRate)
{
    state->lowGain = 1.0;
    state->midGain = 1.0;
    state->highGain = 1.0;
    state->lowCoefficient = coefficientFor (lowFrequency, sampleRate);
    state->highCoefficient = coefficientFor (midFrequency, sampleRate);
}
} // namespace nadrix
