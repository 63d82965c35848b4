// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/nadrix-render/InputSignal.h"

#include "tools/nadrix-render/AudioFileIntegrity.h"
#include "tools/nadrix-render/InterruptCleanup.h"

#include <sndfile.h>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>
#include <algorithm>
#include <vector>

namespace nadrix
{
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

    bool copyStandardInput (const juce::File& to)
    {
        juce::FileOutputStream out (to, 1 << 20);
        if (! out.openedOk())
            return false;
        std::vector<char> chunk (1 << 20);
        for (;;)
        {
            const auto n = ::read (STDIN_FILENO, chunk.data(), chunk.size());
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0)
                return false;
            if (n == 0)
                return out.getStatus().wasOk();
            if (! out.write (chunk.data(), (size_t) n))
                return false;
        }
    }
}

InputSignal::~InputSignal()
{
    if (file != nullptr)
        sf_close (file);
    InterruptCleanup::forget (spoolCleanup);
}

std::unique_ptr<InputSignal> InputSignal::fromFile (const juce::File& path, juce::String& error)
{
    const auto name = "'" + path.getFullPathName() + "'";
    if (const auto why = whyUnreadable (path); why.isNotEmpty())
    {
        error = "cannot read " + name + ": " + why;
        return {};
    }
    return open (path, name, error);
}

std::unique_ptr<InputSignal> InputSignal::fromStandardInput (juce::String& error)
{
    auto spool = std::make_unique<juce::TemporaryFile> (".audio");
    const int cleanup = InterruptCleanup::removeOnInterrupt (spool->getFile());
    if (! copyStandardInput (spool->getFile()))
    {
        InterruptCleanup::forget (cleanup);
        error = "cannot read standard input: " + juce::String (std::strerror (errno)).toLowerCase();
        return {};
    }

    auto in = open (spool->getFile(), "standard input", error);
    if (in == nullptr)
    {
        InterruptCleanup::forget (cleanup);
        return {};
    }
    in->spool = std::move (spool);
    in->spoolCleanup = cleanup;
    return in;
}

std::unique_ptr<InputSignal> InputSignal::open (const juce::File& path, const juce::String& name, juce::String& error)
{
    SF_INFO info {};
    SNDFILE* sf = sf_open (path.getFullPathName().toRawUTF8(), SFM_READ, &info);
    if (sf == nullptr)
    {
        error = "cannot read " + name + ": not an audio file libsndfile knows, or damaged ("
              + juce::String (sf_strerror (nullptr)).trimCharactersAtEnd (".") + ")";
        return {};
    }

    std::unique_ptr<InputSignal> in (new InputSignal());
    in->file = sf;

    if (info.channels < 1 || info.channels > 2)
    {
        error = "cannot use " + name + ": it has " + juce::String (info.channels) + " channels; only mono and stereo files can be reverberated";
        return {};
    }
    if (! (info.samplerate >= 8000 && info.samplerate <= 768000))
    {
        error = "cannot use " + name + ": its sample rate of " + juce::String (info.samplerate) + " Hz is out of range";
        return {};
    }

    const auto integrity = checkIntegrity (path, sf, info);
    in->numChannels = info.channels;
    in->sampleRate = info.samplerate;
    in->length = integrity.framesHeld;
    in->damage = integrity.damage;
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
    if (file == nullptr)
    {
        for (int ch = 0; ch < numChannels; ++ch)
            dest.copyFrom (ch, 0, memory, ch, (int) start, n);
        return;
    }

    if (start != filePosition)
        filePosition = sf_seek (file, start, SEEK_SET);
    if (n > interleavedFrames)
    {
        interleaved.realloc ((size_t) n * (size_t) numChannels);
        interleavedFrames = n;
    }

    // What does not decode reads as silence.
    const auto got = filePosition == start ? (int) sf_readf_float (file, interleaved, n) : 0;
    filePosition += got;
    for (int ch = 0; ch < numChannels; ++ch)
    {
        float* out = dest.getWritePointer (ch);
        for (int i = 0; i < got; ++i)
            out[i] = interleaved[i * numChannels + ch];
        std::fill (out + got, out + n, 0.0f);
    }
}
} // namespace nadrix
