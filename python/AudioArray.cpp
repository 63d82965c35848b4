// SPDX-License-Identifier: GPL-3.0-or-later
#include "python/AudioArray.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

namespace py = pybind11;

namespace nadrix
{
namespace
{
    // The largest magnitude among the samples, as the bits of a float.
    std::uint32_t largestMagnitudeBits (const float* from, std::int64_t count, std::int64_t stride) noexcept
    {
        std::uint32_t largest = 0;
        for (std::int64_t i = 0; i < count; ++i)
        {
            std::uint32_t bits;
            std::memcpy (&bits, from + i * stride, sizeof (bits));
            largest = std::max (largest, bits & 0x7fffffffu);
        }
        return largest;
    }

    std::string shapeOf (const py::array& a)
    {
        std::string s = "(";
        for (py::ssize_t i = 0; i < a.ndim(); ++i)
            s += (i > 0 ? ", " : "") + std::to_string (a.shape (i));
        return s + (a.ndim() == 1 ? ",)" : ")");
    }
}

AudioArray::AudioArray (const py::object& audio, const char* what) : name (what)
{
    if (! py::isinstance<py::array> (audio))
        throw py::type_error (std::string (what) + " must be a numpy array of float32 samples, not "
                              + py::str (audio.get_type().attr ("__name__")).cast<std::string>());
    array = py::reinterpret_borrow<py::array> (audio);
    if (! array.dtype().is (py::dtype::of<float>()))
        throw py::type_error (std::string (what) + " must hold float32 samples, not " + py::str (array.dtype()).cast<std::string>()
                              + "; " + what + ".astype(numpy.float32) converts it");

    const auto itemStride = [this] (int axis) { return (std::int64_t) array.strides (axis) / (std::int64_t) sizeof (float); };
    if (array.ndim() == 1)
    {
        numChannels = 1;
        numFrames = array.shape (0);
        frameStride = itemStride (0);
    }
    else if (array.ndim() == 2 && (array.shape (0) == 1 || array.shape (0) == 2))
    {
        numChannels = (int) array.shape (0);
        numFrames = array.shape (1);
        channelStride = itemStride (0);
        frameStride = itemStride (1);
    }
    else if (array.ndim() == 2 && (array.shape (1) == 1 || array.shape (1) == 2))
    {
        transposed = true;
        numChannels = (int) array.shape (1);
        numFrames = array.shape (0);
        channelStride = itemStride (1);
        frameStride = itemStride (0);
    }
    else
    {
        throw py::value_error (std::string (what) + " of shape " + shapeOf (array)
                               + " is not mono or stereo audio: give (frames,), (channels, frames) or (frames, channels) with 1 or 2 channels");
    }
    if (array.strides (0) % (py::ssize_t) sizeof (float) != 0 || (array.ndim() == 2 && array.strides (1) % (py::ssize_t) sizeof (float) != 0)
        || reinterpret_cast<std::uintptr_t> (array.data()) % alignof (float) != 0)
        throw py::value_error (std::string (what) + " is not aligned to whole samples; pass numpy.ascontiguousarray(" + what + ")");
    base = static_cast<const float*> (array.data());
}

void AudioArray::copy (int channel, std::int64_t first, std::int64_t count, float* to) const noexcept
{
    const float* from = base + channel * channelStride + first * frameStride;
    if (frameStride == 1)
    {
        std::copy (from, from + count, to);
        return;
    }
    for (std::int64_t i = 0; i < count; ++i)
        to[i] = from[i * frameStride];
}

void AudioArray::refuseNonFinite() const
{
    // The common case, all finite, in one pass the compiler vectorises: an
    // exponent of all ones (infinity, not a number) is the largest
    // magnitude a float's bits can hold.
    std::uint32_t largest = 0;
    for (int ch = 0; ch < numChannels; ++ch)
        largest = std::max (largest, frameStride == 1 ? largestMagnitudeBits (base + ch * channelStride, numFrames, 1) // vectorised
                                                      : largestMagnitudeBits (base + ch * channelStride, numFrames, frameStride));
    if (largest < 0x7f800000u)
        return;

    std::int64_t count = 0, firstFrame = 0;
    int firstChannel = 0;
    for (std::int64_t i = 0; i < numFrames; ++i)
        for (int ch = 0; ch < numChannels; ++ch)
            if (! std::isfinite (sample (ch, i)) && count++ == 0)
            {
                firstChannel = ch;
                firstFrame = i;
            }
    if (count > 0)
        throw py::value_error (std::string (name) + " holds " + std::to_string (count) + (count == 1 ? " sample that is" : " samples that are")
                               + " not a finite number (the first at channel " + std::to_string (firstChannel) + ", frame " + std::to_string (firstFrame)
                               + "); numpy.nan_to_num replaces them");
}

py::array_t<float> AudioArray::stereo (std::int64_t frames, bool framesFirst)
{
    if (framesFirst)
        return py::array_t<float> ({ (py::ssize_t) frames, (py::ssize_t) 2 });
    return py::array_t<float> ({ (py::ssize_t) 2, (py::ssize_t) frames });
}
} // namespace nadrix
