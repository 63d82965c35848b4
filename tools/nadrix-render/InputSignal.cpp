// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/nadrix-render/InputSignal.h"

#include "tools/nadrix-render/AudioFileIntegrity.h"
#include "tools/nadrix-render/FileIdentity.h"
#include "tools/nadrix-render/InterruptCleanup.h"
#include "tools/nadrix-render/PipeReader.h"

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
    // The rates the reverb is made for; an input outside them is refused.
    constexpr int lowestRate = 8000, highestRate = 768000;

    // Why a path cannot be opened for reading, in the system's words.
    juce::String whyUnreadable (const juce::File& file)
    {
        if (isFolder (file))
            return "it is a directory";
        const int fd = ::open (file.getFullPathName().toRawUTF8(), O_RDONLY);
        if (fd < 0)
            return juce::String (std::strerror (errno)).toLowerCase();
        ::close (fd);
        return {};
    }

    juce::String sndfileError (const juce::String& name)
    {
        return "cannot read " + name + ": not an audio file libsndfile knows, or damaged ("
             + juce::String (sf_strerror (nullptr)).trimCharactersAtEnd (".") + ")";
    }

    // The bytes already taken from a pipe, then the rest of it, into a file.
    bool spoolInto (const juce::File& to, const std::vector<char>& already, int fd)
    {
        juce::FileOutputStream out (to, 1 << 20);
        if (! out.openedOk() || ! out.write (already.data(), already.size()))
            return false;
        std::vector<char> chunk (1 << 20);
        for (;;)
        {
            const auto n = ::read (fd, chunk.data(), chunk.size());
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

    juce::String frames (juce::int64 n) { return juce::String (n) + (n == 1 ? " frame" : " frames"); }
}

InputSignal::~InputSignal()
{
    if (file != nullptr)
        sf_close (file);
    InterruptCleanup::forget (spoolCleanup);
}

bool InputSignal::takeLayout (const juce::String& name, int channels, int rate, juce::String& error)
{
    if (channels < 1 || channels > 2)
    {
        error = "cannot use " + name + ": it has " + juce::String (channels) + " channels; only mono and stereo files can be reverberated";
        return false;
    }
    if (! (rate >= lowestRate && rate <= highestRate))
    {
        error = "cannot use " + name + ": its sample rate of " + juce::String (rate) + " Hz is out of range (" + juce::String (lowestRate)
              + " to " + juce::String (highestRate) + " Hz)";
        return false;
    }
    numChannels = channels;
    sampleRate = rate;
    return true;
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

std::unique_ptr<InputSignal> InputSignal::open (const juce::File& path, const juce::String& name, juce::String& error)
{
    SF_INFO info {};
    SNDFILE* sf = sf_open (path.getFullPathName().toRawUTF8(), SFM_READ, &info);
    if (sf == nullptr)
    {
        error = sndfileError (name);
        return {};
    }

    std::unique_ptr<InputSignal> in (new InputSignal());
    in->file = sf;
    if (! in->takeLayout (name, info.channels, info.samplerate, error))
        return {};

    const auto integrity = checkIntegrity (path, sf, info);
    in->length = integrity.framesHeld;
    in->damage = integrity.damage;
    in->ended = in->length == 0;
    return in;
}

std::unique_ptr<InputSignal> InputSignal::fromStandardInput (juce::String& error)
{
    const juce::String name ("standard input");
    std::unique_ptr<InputSignal> in (new InputSignal());
    in->pipe = std::make_unique<PipeReader> (STDIN_FILENO);

    SF_INFO info {};
    in->file = sf_open_virtual (&PipeReader::callbacks(), SFM_READ, &info, in->pipe.get());
    if (in->file == nullptr)
    {
        // A kind libsndfile reads only from a file: copied whole first.
        if (! in->pipe->keptWhole())
        {
            error = sndfileError (name);
            return {};
        }
        in->spool = std::make_unique<juce::TemporaryFile> (".audio");
        in->spoolCleanup = InterruptCleanup::removeOnInterrupt (in->spool->getFile());
        if (! spoolInto (in->spool->getFile(), in->pipe->bytesSoFar(), STDIN_FILENO))
        {
            error = "cannot read standard input: " + juce::String (std::strerror (errno)).toLowerCase();
            return {};
        }
        auto spooled = open (in->spool->getFile(), name, error);
        if (spooled == nullptr)
            return {};
        spooled->spool = std::move (in->spool);
        spooled->spoolCleanup = std::exchange (in->spoolCleanup, nullptr);
        return spooled;
    }

    if (! in->takeLayout (name, info.channels, info.samplerate, error))
        return {};
    in->declared = declaredFrames (in->pipe->bytesSoFar().data(), in->pipe->bytesSoFar().size(), info);
    in->length = -1;
    return in;
}

std::unique_ptr<InputSignal> InputSignal::fromBuffer (juce::AudioBuffer<float> buffer, double rate)
{
    std::unique_ptr<InputSignal> in (new InputSignal());
    in->numChannels = buffer.getNumChannels();
    in->sampleRate = rate;
    in->length = buffer.getNumSamples();
    in->memory = std::move (buffer);
    in->ended = in->length == 0;
    return in;
}

void InputSignal::noteStreamDamage()
{
    length = position;
    const int error = sf_error (file);
    if (error != SF_ERR_NO_ERROR)
        damage = "it stopped after " + frames (position) + " (" + juce::String (sf_error_number (error)).trimCharactersAtEnd (".") + ")";
    else if (declared >= 0 && position < declared)
        damage = "it declares " + frames (declared) + " but " + frames (position) + " arrived";
}

int InputSignal::readNext (juce::AudioBuffer<float>& dest, int n)
{
    if (ended || n <= 0)
        return 0;
    if (file == nullptr)
    {
        const int got = (int) std::min ((juce::int64) n, length - position);
        for (int ch = 0; ch < numChannels; ++ch)
            dest.copyFrom (ch, 0, memory, ch, (int) position, got);
        position += got;
        ended = position >= length;
        return got;
    }

    // A file is read no further than it holds; a stream to its end.
    const int wanted = pipe != nullptr ? n : (int) std::min ((juce::int64) n, length - position);
    if (wanted > interleavedFrames)
    {
        interleaved.realloc ((size_t) wanted * (size_t) numChannels);
        interleavedFrames = wanted;
    }
    int got = 0;
    for (sf_count_t k; got < wanted && (k = sf_readf_float (file, interleaved + got * numChannels, wanted - got)) > 0;)
        got += (int) k;

    for (int ch = 0; ch < numChannels; ++ch)
    {
        float* out = dest.getWritePointer (ch);
        for (int i = 0; i < got; ++i)
            out[i] = interleaved[i * numChannels + ch];
    }

    if (pipe != nullptr)
    {
        position += got;
        if (got < wanted)
        {
            ended = true;
            noteStreamDamage();
        }
        return got;
    }

    // What a file holds and does not decode runs as silence.
    for (int ch = 0; ch < numChannels; ++ch)
        dest.clear (ch, got, wanted - got);
    position += wanted;
    ended = position >= length;
    return wanted;
}
} // namespace nadrix
