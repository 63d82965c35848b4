// SPDX-License-Identifier: GPL-3.0-or-later
#include "InputSignal.h"

#include "AudioFileIntegrity.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace
{
    // Why a path cannot be opened for reading, in the system's words.
    juce::String whyUnreadable (const juce::File& file)
    {
        if (file.isDirectory())
            return "it is a directory";
        const int fd = ::open (file.getFullPathName().toRawUTF8(), O_RDONLY);
        if (fd < 0)
            return juce::String (std::strerror (errno)).toLowerCase();
        ::close (fd);
        return {};
    }
}

std::unique_ptr<InputSignal> InputSignal::fromFile (const juce::File& file, juce::String& error)
{
    if (const auto why = whyUnreadable (file); why.isNotEmpty())
    {
        error = "cannot read '" + file.getFullPathName() + "': " + why;
        return {};
    }

    juce::AudioFormatManager formats;
    formats.registerFormat (new juce::WavAudioFormat(), true);
    formats.registerFormat (new juce::AiffAudioFormat(), false);
    formats.registerFormat (new juce::FlacAudioFormat(), false);

    // Read in large pieces: a reader asks its stream for a block's bytes at a time.
    constexpr int readBufferBytes = 1 << 20;
    auto stream = file.createInputStream();
    std::unique_ptr<juce::AudioFormatReader> reader;
    if (stream != nullptr)
        reader.reset (formats.createReaderFor (std::make_unique<juce::BufferedInputStream> (stream.release(), readBufferBytes, true)));
    if (reader == nullptr)
    {
        error = "cannot read '" + file.getFullPathName() + "': not a WAV, AIFF or FLAC file, or damaged";
        return {};
    }

    if (reader->numChannels < 1 || reader->numChannels > 2)
    {
        error = "cannot use '" + file.getFullPathName() + "': it has " + juce::String (reader->numChannels)
              + " channels; only mono and stereo files can be reverberated";
        return {};
    }

    if (! (reader->sampleRate >= 8000.0 && reader->sampleRate <= 768000.0))
    {
        error = "cannot use '" + file.getFullPathName() + "': its sample rate of " + juce::String (reader->sampleRate) + " Hz is out of range";
        return {};
    }

    const auto integrity = checkIntegrity (file, *reader);
    if (integrity.unsupported.isNotEmpty())
    {
        error = "cannot use '" + file.getFullPathName() + "': " + integrity.unsupported;
        return {};
    }

    std::unique_ptr<InputSignal> in (new InputSignal());
    in->numChannels = (int) reader->numChannels;
    in->sampleRate = reader->sampleRate;
    in->length = integrity.framesHeld;
    in->damage = integrity.damage;
    in->reader = std::move (reader);
    return in;
}

std::unique_ptr<InputSignal> InputSignal::fromBuffer (juce::AudioBuffer<float> buffer, double rate)
{
    std::unique_ptr<InputSignal> in (new InputSignal());
    in->numChannels = buffer.getNumChannels();
    in->sampleRate = rate;
    in->length = buffer.getNumSamples();
    in->memory = std::move (buffer);
    return in;
}

void InputSignal::read (juce::AudioBuffer<float>& dest, juce::int64 start, int n)
{
    if (reader != nullptr)
    {
        reader->read (&dest, 0, n, start, true, numChannels > 1);
        return;
    }

    for (int ch = 0; ch < numChannels; ++ch)
        dest.copyFrom (ch, 0, memory, ch, (int) start, n);
}
