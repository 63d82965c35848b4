// SPDX-License-Identifier: GPL-3.0-or-later
#include "python/AudioFiles.h"

#include "python/AudioArray.h"
#include "tools/nadrix-render/AudioFileType.h"
#include "tools/nadrix-render/InputSignal.h"
#include "tools/nadrix-render/OutputFile.h"

#include <cstring>

namespace py = pybind11;

namespace nadrix::AudioFiles
{
namespace
{
    juce::File fileOf (const py::object& path)
    {
        const auto text = py::module_::import ("os").attr ("fspath") (path).cast<std::string>();
        return juce::File::getCurrentWorkingDirectory().getChildFile (juce::String (juce::CharPointer_UTF8 (text.c_str())));
    }

    [[noreturn]] void raiseOSError (const juce::String& message)
    {
        PyErr_SetString (PyExc_OSError, message.toRawUTF8());
        throw py::error_already_set();
    }
}

py::tuple read (const py::object& path)
{
    const auto file = fileOf (path);
    juce::String error;
    auto input = InputSignal::fromFile (file, error);
    if (input == nullptr)
        raiseOSError (error);
    if (input->getDamage().isNotEmpty())
        if (PyErr_WarnEx (PyExc_UserWarning, ("'" + file.getFullPathName() + "' is damaged: " + input->getDamage() + "; reading the "
                                              + juce::String (input->getLength()) + " frames it holds").toRawUTF8(), 2) != 0)
            throw py::error_already_set();

    const int channels = input->getNumChannels();
    const auto frames = input->getLength();
    py::array_t<float> audio ({ (py::ssize_t) channels, (py::ssize_t) frames });
    {
        py::gil_scoped_release released;
        constexpr int blockFrames = 65536;
        juce::AudioBuffer<float> block (channels, blockFrames);
        for (juce::int64 done = 0; done < frames;)
        {
            const int n = input->readNext (block, (int) std::min ((juce::int64) blockFrames, frames - done));
            if (n <= 0)
                break;
            for (int ch = 0; ch < channels; ++ch)
                std::memcpy (audio.mutable_data (ch) + done, block.getReadPointer (ch), sizeof (float) * (size_t) n);
            done += n;
        }
    }
    return py::make_tuple (audio, input->getSampleRate());
}

void write (const py::object& path, const py::object& audio, double sampleRate, const py::object& bits)
{
    const auto file = fileOf (path);
    const auto type = AudioFileType::ofFile (file);
    if (! type.has_value())
        throw py::value_error (("cannot tell the kind of file from '" + file.getFileName() + "': name it " + AudioFileType::extensions()).toStdString());
    const int bitsPerSample = bits.is_none() ? type->defaultBits() : bits.cast<int>();
    if (! type->holdsBits (bitsPerSample))
        throw py::value_error ((juce::String ("bits ") + juce::String (bitsPerSample) + ": " + type->title + " files hold " + type->bitsHeld()).toStdString());
    if (! type->holdsRate (sampleRate))
        throw py::value_error ((juce::String (type->title) + " files hold " + type->ratesHeld()).toStdString());

    const AudioArray samples (audio, "audio");
    if (samples.channels() != 2)
        throw py::value_error ("write_audio writes stereo audio, as the reverb gives it; this audio is mono");
    if (samples.frames() > std::numeric_limits<int>::max())
        throw py::value_error ("audio is too long for one file");

    OutputFile output (file, sampleRate, bitsPerSample, *type);
    if (! output.isOpen())
        raiseOSError (output.getError());
    juce::Result committed = juce::Result::ok();
    bool written = false;
    {
        py::gil_scoped_release released;
        samples.refuseNonFinite();
        juce::AudioBuffer<float> buffer (2, (int) samples.frames());
        for (int ch = 0; ch < 2; ++ch)
            samples.copy (ch, 0, samples.frames(), buffer.getWritePointer (ch));
        written = output.write (buffer, buffer.getNumSamples());
        if (written)
            committed = output.commit();
    }
    if (! written)
        raiseOSError (output.getError().isNotEmpty() ? output.getError() : "writing '" + file.getFullPathName() + "' failed (disk full?)");
    if (committed.failed())
        raiseOSError (committed.getErrorMessage());

    const bool keepsBeyondFullScale = type->holdsFloat && bitsPerSample == 32;
    if (const auto notice = output.getLevel().notice (keepsBeyondFullScale, type->describe (bitsPerSample) + " file"); notice.isNotEmpty())
        if (PyErr_WarnEx (PyExc_UserWarning, notice.toRawUTF8(), 2) != 0)
            throw py::error_already_set();
}
} // namespace nadrix::AudioFiles
