// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/nadrix-render/OutputFile.h"

#include "tools/nadrix-render/FileIdentity.h"
#include "tools/nadrix-render/InterruptCleanup.h"
#include "tools/nadrix-render/OggSerial.h"

#include <sndfile.h>

#include <cerrno>
#include <cstring>
#include <unistd.h>
#include <vector>

namespace nadrix
{
namespace
{
    constexpr juce::uint32 fixedOggSerial = 0x5852444e; // "NDRX"

    // Why a file cannot be created where it is to go, in the system's words.
    juce::String whyNotWritable (const juce::File& file)
    {
        const auto folder = file.getParentDirectory();
        if (! folder.exists())
            return "the folder '" + folder.getFullPathName() + "' does not exist";
        if (! folder.isDirectory())
            return "'" + folder.getFullPathName() + "' is not a folder";
        if (::access (folder.getFullPathName().toRawUTF8(), W_OK) != 0)
            return "the folder '" + folder.getFullPathName() + "' cannot be written to: " + juce::String (std::strerror (errno)).toLowerCase();
        return {};
    }

    bool copyToStandardOutput (const juce::File& file)
    {
        juce::FileInputStream in (file);
        if (! in.openedOk())
            return false;
        std::vector<char> chunk (1 << 20);
        for (;;)
        {
            const int n = in.read (chunk.data(), (int) chunk.size());
            if (n <= 0)
                return n == 0;
            for (int done = 0; done < n;)
            {
                const auto written = ::write (STDOUT_FILENO, chunk.data() + done, (size_t) (n - done));
                if (written < 0 && errno == EINTR)
                    continue;
                if (written <= 0)
                    return false;
                done += (int) written;
            }
        }
    }
}

OutputFile::OutputFile (const juce::File& target, double sampleRate, int bitsPerSample, const AudioFileType& type)
    : destination (writeThroughLinks (target)),
      temporary (destination)
{
    if (const auto why = whyNotWritable (destination); why.isNotEmpty())
    {
        error = "cannot write '" + target.getFullPathName() + "': " + why;
        return;
    }
    open (sampleRate, bitsPerSample, type);
    if (! isOpen())
        error = "cannot write '" + target.getFullPathName() + "': " + error;
}

OutputFile::OutputFile (double sampleRate, int bitsPerSample, const AudioFileType& type)
    : toStandardOutput (true),
      temporary (type.extension())
{
    open (sampleRate, bitsPerSample, type);
    if (! isOpen())
        error = "cannot write to standard output: " + error;
}

void OutputFile::open (double sampleRate, int bitsPerSample, const AudioFileType& type)
{
    cleanupRegistration = InterruptCleanup::removeOnInterrupt (temporary.getFile());

    if (type.format == AudioFileType::wav().format)
    {
        // libsndfile's float WAVs lack the format extension some readers insist on.
        wav = WavWriter::create (temporary.getFile(), juce::roundToInt (sampleRate), 2, bitsPerSample, error);
        return;
    }

    SF_INFO info {};
    info.samplerate = juce::roundToInt (sampleRate);
    info.channels = 2;
    info.format = type.sndfileFormat (bitsPerSample);

    file = sf_open (temporary.getFile().getFullPathName().toRawUTF8(), SFM_WRITE, &info);
    if (file == nullptr)
    {
        error = juce::String (sf_strerror (nullptr)).trimCharactersAtEnd (".");
        return;
    }

    isOgg = (info.format & SF_FORMAT_TYPEMASK) == SF_FORMAT_OGG;
    // Floats beyond full scale wrap around when written as integers unless clipped.
    sf_command (file, SFC_SET_CLIPPING, nullptr, SF_TRUE);
    // No PEAK chunk: it carries the time of writing, and the same render
    // must give the same bytes whenever and wherever it runs.
    sf_command (file, SFC_SET_ADD_PEAK_CHUNK, nullptr, SF_FALSE);
}

OutputFile::~OutputFile()
{
    if (file != nullptr)
        sf_close (file);
    InterruptCleanup::forget (cleanupRegistration); // the temporary file goes with `temporary`, if it is still there
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
        interleaved[2 * i] = left[i];
        interleaved[2 * i + 1] = right[i];
    }
    if (wav != nullptr)
        return wav->write (interleaved, numFrames);
    return sf_writef_float (file, interleaved, numFrames) == numFrames;
}

juce::Result OutputFile::commit()
{
    if (! isOpen())
        return juce::Result::fail ("nothing was written");

    // Finishing writes the header's sizes and flushes.
    if (wav != nullptr)
    {
        const bool finished = wav->finish();
        wav.reset();
        if (! finished)
            return juce::Result::fail ("finishing the output failed: " + juce::String (std::strerror (errno)).toLowerCase());
    }
    else
    {
        const int closed = sf_close (file);
        file = nullptr;
        if (closed != 0)
            return juce::Result::fail ("finishing the output failed: " + juce::String (sf_error_number (closed)));
        if (isOgg && ! setOggSerial (temporary.getFile(), fixedOggSerial))
            return juce::Result::fail ("finishing the output failed: its Ogg pages could not be rewritten");
    }

    if (toStandardOutput)
    {
        if (! copyToStandardOutput (temporary.getFile()))
            return juce::Result::fail ("writing to standard output failed: " + juce::String (std::strerror (errno)).toLowerCase());
        temporary.deleteTemporaryFile();
    }
    else if (! temporary.overwriteTargetFileWithTemporary())
    {
        return juce::Result::fail ("cannot move the finished file to '" + destination.getFullPathName() + "'");
    }

    InterruptCleanup::forget (cleanupRegistration);
    cleanupRegistration = -1;
    return juce::Result::ok();
}
} // namespace nadrix
