// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/nadrix-render/OutputFile.h"

#include "tools/nadrix-render/FileIdentity.h"
#include "tools/nadrix-render/InterruptCleanup.h"
#include "tools/nadrix-render/OutputTarget.h"

#include <cerrno>
#include <cstring>
#include <unistd.h>
#include <vector>

namespace nadrix
{
namespace
{
    // Why a file cannot be created where it is to go, in the system's words.
    juce::String whyNotWritable (const juce::File& file)
    {
        const auto folder = file.getParentDirectory();
        if (! folder.exists())
            return "the folder '" + folder.getFullPathName() + "' does not exist";
        if (! isFolder (folder))
            return "'" + folder.getFullPathName() + "' is not a folder";
        if (::access (folder.getFullPathName().toRawUTF8(), W_OK) != 0)
            return "the folder '" + folder.getFullPathName() + "' cannot be written to: " + juce::String (std::strerror (errno)).toLowerCase();
        return {};
    }

    bool copyInto (OutputChannel& to, const juce::File& from)
    {
        juce::FileInputStream in (from);
        if (! in.openedOk())
            return false;
        std::vector<char> chunk (1 << 16);
        for (int n; (n = in.read (chunk.data(), (int) chunk.size())) > 0;)
            if (! to.write (chunk.data(), (size_t) n))
                return false;
        return true;
    }
}

OutputFile::OutputFile (const juce::File& target, double sampleRate, int bitsPerSample, const AudioFileType& type)
    : name ("'" + target.getFullPathName() + "'")
{
    stream = OutputTarget::of (target).kind == OutputTarget::Kind::stream;
    if (stream)
    {
        channel = OutputChannel::openStream (target, error);
        if (channel != nullptr && channel->isTerminal())
            error = "it is a terminal, where audio would show as noise; give a file, or a pipe";
    }
    else
    {
        destination = writeThroughLinks (target);
        if (const auto why = whyNotWritable (destination); why.isNotEmpty())
            error = why;
        else
        {
            temporary = std::make_unique<juce::TemporaryFile> (destination);
            cleanupRegistration = InterruptCleanup::removeOnInterrupt (temporary->getFile());
            channel = OutputChannel::createFile (temporary->getFile(), error);
        }
    }

    if (channel != nullptr && error.isEmpty())
        open (sampleRate, bitsPerSample, type);
    if (! isOpen())
        error = "cannot write " + name + ": " + error;
}

OutputFile::OutputFile (double sampleRate, int bitsPerSample, const AudioFileType& type)
    : name ("standard output"), stream (true), channel (OutputChannel::standardOutput())
{
    if (channel->isTerminal())
        error = "it is a terminal, where audio would show as noise; redirect it to a file or a pipe, or give -o FILE";
    else
        open (sampleRate, bitsPerSample, type);
    if (! isOpen())
        error = "cannot write to standard output: " + error;
}

void OutputFile::open (double sampleRate, int bitsPerSample, const AudioFileType& type)
{
    const int format = type.sndfileFormat (bitsPerSample);
    if (type.format == AudioFileType::wav().format || channel->canSeek() || SndfileWriter::streams (format))
    {
        startWriting (*channel, sampleRate, bitsPerSample, type);
        return;
    }

    // Made whole first, then copied out: it names its length before its audio.
    temporary = std::make_unique<juce::TemporaryFile> (type.extension());
    cleanupRegistration = InterruptCleanup::removeOnInterrupt (temporary->getFile());
    spool = OutputChannel::createFile (temporary->getFile(), error);
    if (spool != nullptr)
        startWriting (*spool, sampleRate, bitsPerSample, type);
}

void OutputFile::startWriting (OutputChannel& into, double sampleRate, int bitsPerSample, const AudioFileType& type)
{
    const int rate = juce::roundToInt (sampleRate);
    if (type.format == AudioFileType::wav().format)
    {
        // libsndfile's float WAVs lack the format extension some readers insist on.
        wav = std::make_unique<WavWriter> (into, rate, 2, bitsPerSample);
        if (! wav->start())
        {
            error = into.whyFailed();
            wav.reset();
        }
        return;
    }
    sndfile = SndfileWriter::open (into, type.sndfileFormat (bitsPerSample), rate, error);
}

OutputFile::~OutputFile()
{
    wav.reset();
    sndfile.reset();
    spool.reset();
    channel.reset();
    temporary.reset(); // the temporary file goes with it, if it is still there
    InterruptCleanup::forget (cleanupRegistration);
}

juce::String OutputFile::whyWritingFailed() const
{
    const auto& failing = spool != nullptr ? *spool : *channel;
    if (failing.readerClosed())
        return "the reader of " + name + " stopped reading before the end";
    return "writing " + name + " failed: " + failing.whyFailed();
}

bool OutputFile::write (const juce::AudioBuffer<float>& audio, int numFrames)
{
    if (! isOpen())
        return false;
    if (numFrames > interleavedFrames)
    {
        interleaved.realloc ((size_t) numFrames * 2);
        interleavedFrames = numFrames;
    }

    // A mono buffer is written to both channels.
    const float* left = audio.getReadPointer (0);
    const float* right = audio.getReadPointer (audio.getNumChannels() > 1 ? 1 : 0);
    for (int i = 0; i < numFrames; ++i)
    {
        interleaved[2 * i] = left[i] * outputGain;
        interleaved[2 * i + 1] = right[i] * outputGain;
    }
    level.measure (interleaved, (size_t) numFrames * 2);

    const bool written = wav != nullptr ? wav->write (interleaved, numFrames) : sndfile->write (interleaved, numFrames);
    if (! written)
        error = whyWritingFailed();
    return written;
}

juce::Result OutputFile::commit()
{
    if (! isOpen())
        return juce::Result::fail ("nothing was written");

    // Finishing writes the header's sizes where the file can go back to them.
    const bool finished = wav != nullptr ? wav->finish() : sndfile->finish();
    wav.reset();
    sndfile.reset();
    if (! finished)
        return juce::Result::fail (error.isNotEmpty() ? error : whyWritingFailed());

    if (spool != nullptr)
    {
        if (! spool->close() || ! copyInto (*channel, temporary->getFile()))
            return juce::Result::fail (whyWritingFailed());
        spool.reset();
    }
    if (! channel->close())
        return juce::Result::fail (whyWritingFailed());

    if (! stream && ! temporary->overwriteTargetFileWithTemporary())
        return juce::Result::fail ("cannot move the finished file to '" + destination.getFullPathName() + "'");

    InterruptCleanup::forget (cleanupRegistration);
    cleanupRegistration = nullptr;
    return juce::Result::ok();
}
} // namespace nadrix
