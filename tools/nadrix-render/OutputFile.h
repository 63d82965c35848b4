// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/nadrix-render/AudioFileType.h"
#include "tools/nadrix-render/WavWriter.h"

#include <juce_audio_basics/juce_audio_basics.h>

#include <cstdio>

struct sf_private_tag; // libsndfile's SNDFILE

namespace nadrix
{

// A stereo audio file written beside its destination under a temporary name
// and moved into place only by commit(), so a failed or interrupted render
// never leaves a partial file or clobbers the one already there. A
// destination that is a symbolic link is written through to the file it
// points at. Written to standard output instead, the file is made whole in
// the temporary folder first and then copied out, so a pipe receives exactly
// the bytes a file would hold.
class OutputFile
{
public:
    OutputFile (const juce::File& destination, double sampleRate, int bitsPerSample, const AudioFileType& type);
    // To standard output.
    OutputFile (double sampleRate, int bitsPerSample, const AudioFileType& type);
    ~OutputFile();

    bool isOpen() const noexcept { return file != nullptr || wav != nullptr; }
    // Why the file could not be opened, when it could not.
    const juce::String& getError() const noexcept { return error; }

    bool write (const juce::AudioBuffer<float>& audio, int numFrames);
    juce::Result commit();

private:
    void open (double sampleRate, int bitsPerSample, const AudioFileType& type);

    juce::File destination;
    bool toStandardOutput = false;
    juce::TemporaryFile temporary;
    std::unique_ptr<WavWriter> wav;   // WAV is written by our own writer, the rest by libsndfile
    sf_private_tag* file = nullptr;
    bool isOgg = false;
    juce::String error;
    juce::HeapBlock<float> interleaved;
    int interleavedFrames = 0;
    int cleanupRegistration = -1;
};
} // namespace nadrix
