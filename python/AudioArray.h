// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>

#include <cstdint>

namespace nadrix
{
// Audio as Python hands it over: a numpy array of float32 samples, shaped
// (frames,) for mono, or (channels, frames) with 1 or 2 channels. An array
// whose first axis is longer than 2 and whose second holds 1 or 2 is read
// as (frames, channels), the layout audio file readers give, and what is
// made from it keeps that layout. Anything else is refused with the reason:
// TypeError for what is not float32 samples, ValueError for a shape that
// holds no audio. Holds the array, so its memory lives as long as this.
class AudioArray
{
public:
    // `what` names the argument in messages ("audio").
    AudioArray (const pybind11::object& audio, const char* what);

    int channels() const noexcept { return numChannels; }
    std::int64_t frames() const noexcept { return numFrames; }
    bool framesFirst() const noexcept { return transposed; }

    float sample (int channel, std::int64_t frame) const noexcept
    {
        return base[channel * channelStride + frame * frameStride];
    }

    // Copies frames [first, first + count) of a channel into `to`.
    void copy (int channel, std::int64_t first, std::int64_t count, float* to) const noexcept;

    // Refuses (ValueError) samples that are not finite numbers, saying how
    // many and where the first is. Needs no interpreter lock.
    void refuseNonFinite() const;

    // A new stereo float32 array for `frames` frames in the layout given.
    static pybind11::array_t<float> stereo (std::int64_t frames, bool framesFirst);

private:
    pybind11::array array;
    const float* base = nullptr;
    std::int64_t channelStride = 0, frameStride = 0; // in samples
    int numChannels = 0;
    std::int64_t numFrames = 0;
    bool transposed = false;
    const char* name;
};
} // namespace nadrix
