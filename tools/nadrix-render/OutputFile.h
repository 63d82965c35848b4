// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <juce_audio_formats/juce_audio_formats.h>

#include <memory>

// A stereo WAV written beside its destination under a temporary name and
// moved into place only by commit(), so a failed or interrupted render never
// leaves a partial file or clobbers the one already there. A destination
// that is a symbolic link is written through to the file it points at.
class OutputFile
{
public:
    OutputFile (const juce::File& destination, double sampleRate, int bitsPerSample);
    ~OutputFile();

    bool isOpen() const noexcept { return writer != nullptr; }
    juce::AudioFormatWriter& getWriter() { return *writer; }
    juce::Result commit();

private:
    juce::File destination;
    juce::TemporaryFile temporary;
    std::unique_ptr<juce::AudioFormatWriter> writer;
    int cleanupRegistration = -1;
};
