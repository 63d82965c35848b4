// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/ReverbEngine.h"

#include <array>

namespace nadrix
{
// What every host's audio goes through around the engine, the same in each
// plug-in format and binding: wild input samples run as silence, a mono
// input feeds both of the engine's inputs, and nothing leaves above
// +24 dBFS. Free of JUCE. Audio thread; it neither allocates nor waits.
class AudioPath
{
public:
    explicit AudioPath (ReverbEngine& reverb) noexcept : engine (reverb) {}

    // No real signal comes near +36 dBFS: a sample beyond it comes from a
    // broken plug-in upstream or a damaged file, and one such sample would
    // ring through the reverb at full blast for many seconds. It is taken
    // as silence, as are samples that are not numbers or infinite (which
    // would stay in the reverb's memory for good).
    static constexpr float inputBound = 64.0f; // +36 dBFS
    // The last guard for ears and speakers: only extreme settings on
    // extreme material get there; below it every sample passes untouched.
    static constexpr float outputLimit = 15.848932f; // +24 dBFS

    // One block in place: `left` and `right` hold the input and receive the
    // output. `right` null: a single output channel (the right output is
    // not heard); `stereoInput` false: `left` alone is the input, fed to
    // both sides (a mono track sounds like its signal centred on a stereo
    // track). Returns how many input samples ran as silence.
    int process (float* left, float* right, bool stereoInput, int frames) noexcept;

private:
    ReverbEngine& engine;
    std::array<float, ReverbEngine::chunkFrames> unheardRight {};
};
} // namespace nadrix
