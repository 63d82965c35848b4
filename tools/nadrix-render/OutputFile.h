// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/nadrix-render/AudioFileType.h"
#include "tools/nadrix-render/InterruptCleanup.h"
#include "tools/nadrix-render/OutputChannel.h"
#include "tools/nadrix-render/OutputLevel.h"
#include "tools/nadrix-render/SndfileWriter.h"
#include "tools/nadrix-render/WavWriter.h"

#include <juce_audio_basics/juce_audio_basics.h>

namespace nadrix
{
// A stereo audio file as a render writes it. A file (or a new name) is
// written beside its destination under a temporary name and moved into
// place only by commit(), so a failed or interrupted render never leaves a
// partial file or clobbers the one already there; a destination that is a
// symbolic link is written through to the file it points at. A stream
// (standard output, a FIFO, a character device) is written as the render
// runs and never replaced; only AIFF, which states its length before its
// audio, is made whole in the temporary folder first where the stream cannot
// go back. Every sample written is measured (OutputLevel).
class OutputFile
{
public:
    // To `destination`: a file or a stream (see OutputTarget).
    OutputFile (const juce::File& destination, double sampleRate, int bitsPerSample, const AudioFileType& type);
    // To standard output.
    OutputFile (double sampleRate, int bitsPerSample, const AudioFileType& type);
    ~OutputFile();

    bool isOpen() const noexcept { return wav != nullptr || sndfile != nullptr; }
    // Why the file could not be opened or written, when it could not.
    const juce::String& getError() const noexcept { return error; }
    // Written as the render runs, with no second chance.
    bool isStream() const noexcept { return stream; }

    // Every sample is multiplied by this before it is written (1 unless set).
    void setGain (float gain) noexcept { outputGain = gain; }
    bool write (const juce::AudioBuffer<float>& audio, int numFrames);
    juce::Result commit();

    const OutputLevel& getLevel() const noexcept { return level; }

private:
    void open (double sampleRate, int bitsPerSample, const AudioFileType& type);
    void startWriting (OutputChannel& into, double sampleRate, int bitsPerSample, const AudioFileType& type);
    juce::String whyWritingFailed() const;

    juce::File destination;
    juce::String name;                       // as messages name it
    bool stream = false;
    std::unique_ptr<OutputChannel> channel;  // where the bytes go
    std::unique_ptr<juce::TemporaryFile> temporary;
    std::unique_ptr<OutputChannel> spool;    // AIFF for a stream that cannot go back
    std::unique_ptr<WavWriter> wav;          // WAV is written by our own writer, the rest by libsndfile
    std::unique_ptr<SndfileWriter> sndfile;
    juce::String error;
    juce::HeapBlock<float> interleaved;
    int interleavedFrames = 0;
    float outputGain = 1.0f;
    OutputLevel level;
    InterruptCleanup::Registration cleanupRegistration = nullptr;
};
} // namespace nadrix
