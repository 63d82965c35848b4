// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the fuzz targets share: JUCE started once per process, a scratch
// folder of the process's own, the checks whose failure is a finding, and
// the plug-in's audio bounds.
#include "tests/processor/GoldenSignal.h"

#include <juce_events/juce_events.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>

// A finding: the message, then an abort, which libFuzzer records with the
// input that caused it.
#define NADRIX_FUZZ_CHECK(condition, what)                                                             \
    do                                                                                                 \
    {                                                                                                  \
        if (! (condition))                                                                             \
        {                                                                                              \
            std::fprintf (stderr, "finding: %s (%s, line %d: %s)\n", what, __FILE__, __LINE__, #condition); \
            std::abort();                                                                              \
        }                                                                                              \
    } while (false)

namespace nadrix::fuzz
{
// JUCE's library and message manager, for the whole run; the window's
// settings in the scratch folder, never the user's.
void startJuce();

// A folder of this process's own, removed when it ends.
const juce::File& scratchFolder();

// Nothing leaves the plug-in above +24 dBFS, and nothing that is not a number.
constexpr float outputLimit = 15.848932f;

inline void checkBoundedAudio (const juce::AudioBuffer<float>& audio)
{
    for (int ch = 0; ch < audio.getNumChannels(); ++ch)
        for (int i = 0; i < audio.getNumSamples(); ++i)
        {
            const float x = audio.getSample (ch, i);
            NADRIX_FUZZ_CHECK (std::isfinite (x) && std::abs (x) <= outputLimit, "output not finite or beyond +24 dBFS");
        }
}

// A normalised value as every store must hold it.
inline bool isNormalised (float value) { return value >= 0.0f && value <= 1.0f; }
} // namespace nadrix::fuzz
