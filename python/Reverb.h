// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/ParameterLayout.h"
#include "engine/ReverbEngine.h"
#include "processor/AudioPath.h"
#include "ui/editor/RandomRender.h"

#include <array>
#include <cstdint>

namespace nadrix
{
// The reverb as a script drives it, free of JUCE: the engine behind the
// audio path, set up as nadrix-render sets up the plug-in (a state, then a
// program, then a random room, then single values, each as a host gives
// it), so that the same settings, rate and input give the same samples to
// the bit. It holds the one copy of every normalised value.
//
// Not for the audio thread of a host: set-up steps and reset() build lines.
// One thread at a time.
class Reverb
{
public:
    static constexpr int numParameters = ParameterLayout::numParameters;
    static constexpr int stateBytes = numParameters * (int) sizeof (float);

    // A fresh instance: factory program "Small Complex Room"'s values.
    explicit Reverb (double sampleRate);

    // A state as the plug-in saves it (357 little-endian floats): its values
    // start the reverb afresh; a value that is not a number keeps the one held.
    void restoreState (const std::array<unsigned char, stateBytes>& state);
    std::array<unsigned char, stateBytes> saveState() const;

    // A factory program, as a host chooses it: the reverb starts afresh with
    // its values. (The plug-in takes a program chosen right after a restore
    // as the host's writes of its values; before the first block that
    // sounds the same.)
    void selectProgram (int program);
    // The window's random room from a seed (SeededDraws), as a host hears
    // each value written.
    void buildRandomRoom (std::uint32_t seed, const RandomRenderSettings& settings);
    // One value, normalised, as a host writes it: not a number is ignored,
    // the rest held to 0..1.
    void set (int index, float normalised);
    float value (int index) const noexcept { return values[(size_t) index]; }

    // The reverb's memory starts afresh with the current values: what
    // follows sounds as from a new instance with these values.
    void reset();

    // `frames` frames in place, as the plug-in processes a block: `right`
    // receives the right output; `stereoInput` false: `left` alone is the
    // input. Returns how many input samples ran as silence (beyond +36 dBFS,
    // or not numbers).
    std::int64_t process (float* left, float* right, bool stereoInput, std::int64_t frames);
    // What a host does before its first block (the first process does it
    // too): the reverb moves to its rate, the tail is reported in it.
    void prepare();

    double sampleRate() const noexcept { return rate; }
    // How long the running lines ring on, in seconds, as the plug-in reports it to hosts.
    double tailSeconds() const;

private:
    // The engine takes the value now, or with the restart that follows.
    enum class Takes { now, atRestart };
    bool take (int index, float normalised, Takes when);
    void startAfresh();

    const double rate;
    float engineRate;                   // 44.1 kHz's time base until the first block, as in a host
    std::array<float, numParameters> values;
    ReverbEngine engine;
    AudioPath path { engine };
    bool prepared = false;
};
} // namespace nadrix
