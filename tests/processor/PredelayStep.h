// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Two sessions with different pasts meet the same pre-delay step: what they
// play from a while before the step to well after it must be the same, to
// the bit, whatever each instance heard before and however long it idled.
#include "tests/processor/ProcessorTestHelpers.h"
#include "engine/ParameterLayout.h"

#include <functional>

namespace nadrix::PredelayStep
{
    constexpr int rate = 44100, block = 512;

    // A parameter write by index, normalised, as the host at hand makes it.
    using Write = std::function<void (int index, float normalised)>;
    constexpr int predelayOf (int line) { return ParameterLayout::indexOf (line, ParameterLayout::predelay); }
    constexpr int activeOf (int line) { return ParameterLayout::indexOf (line, ParameterLayout::active); }
    constexpr int lines[] = { 0, 3, 5 };

    // Noise of this seed (0: silence) through whatever plays it, as heard.
    using Play = std::function<juce::AudioBuffer<float> (int frames, unsigned seed)>;

    inline juce::AudioBuffer<float> signal (int frames, unsigned seed)
    {
        auto audio = seed == 0 ? juce::AudioBuffer<float> (2, frames) : noiseBuffer (2, frames, seed);
        if (seed == 0)
            audio.clear();
        return audio;
    }

    inline Play playThrough (juce::AudioProcessor& p)
    {
        return [&p] (int frames, unsigned seed) {
            auto audio = signal (frames, seed);
            processInBlocks (p, audio, block);
            return audio;
        };
    }

    // The session: long pre-delays filled with noise, short ones, an idle
    // stretch of `idleFrames`, then the same signal for both sessions, the
    // step (two lines grow, one shrinks) and more of it. Returns what was
    // heard from the same signal on.
    inline juce::AudioBuffer<float> session (const Play& play, const Write& write, int idleFrames)
    {
        for (int line : lines)
        {
            write (activeOf (line), 1.0f);
            write (predelayOf (line), 0.9f);
        }
        play (rate * 3 / 2, 41);
        write (predelayOf (0), 0.0581f);
        write (predelayOf (3), 0.0768f);
        write (predelayOf (5), 0.4f);
        play (rate, 42);
        play (idleFrames, 0);

        juce::AudioBuffer<float> heard (2, rate * 3);
        const auto before = play (rate, 43);
        write (predelayOf (0), 0.25f);
        write (predelayOf (3), 0.4f);
        write (predelayOf (5), 0.01f);
        const auto after = play (rate * 2, 44);
        for (int ch = 0; ch < 2; ++ch)
        {
            heard.copyFrom (ch, 0, before, ch, 0, rate);
            heard.copyFrom (ch, rate, after, ch, 0, rate * 2);
        }
        return heard;
    }

    // The idle times of the sessions compared: ring positions end apart.
    constexpr int idleFrames[] = { 3 * 44100, 5 * 44100 + 1234 };
}
