// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <juce_audio_basics/juce_audio_basics.h>

#include <memory>

struct sf_private_tag; // libsndfile's SNDFILE

namespace nadrix
{

// The audio to reverberate: an audio file read as it is needed, or a signal
// held in memory. Mono or stereo. A damaged file is read only as far as it
// really holds audio.
class InputSignal
{
public:
    ~InputSignal();

    // Opens any file libsndfile reads (WAV, RF64, AIFF, FLAC, Ogg Vorbis,
    // Opus, MP3, ...); on failure `error` says why.
    static std::unique_ptr<InputSignal> fromFile (const juce::File& file, juce::String& error);
    // Reads standard input whole into a temporary file first: a stream
    // cannot tell its length, and the length decides the render's.
    static std::unique_ptr<InputSignal> fromStandardInput (juce::String& error);
    static std::unique_ptr<InputSignal> fromBuffer (juce::AudioBuffer<float> buffer, double sampleRate);

    int getNumChannels() const noexcept { return numChannels; }
    double getSampleRate() const noexcept { return sampleRate; }
    juce::int64 getLength() const noexcept { return length; }

    // What is wrong with the file, when it holds less than it declares; empty otherwise.
    const juce::String& getDamage() const noexcept { return damage; }

    // Reads frames [start, start + n) into the first channels of dest.
    void read (juce::AudioBuffer<float>& dest, juce::int64 start, int n);

private:
    InputSignal() = default;
    static std::unique_ptr<InputSignal> open (const juce::File& file, const juce::String& name, juce::String& error);

    sf_private_tag* file = nullptr;
    juce::int64 filePosition = 0;
    juce::HeapBlock<float> interleaved;
    int interleavedFrames = 0;
    std::unique_ptr<juce::TemporaryFile> spool; // standard input, kept while it is read
    int spoolCleanup = -1;
    juce::AudioBuffer<float> memory;
    int numChannels = 0;
    double sampleRate = 0.0;
    juce::int64 length = 0;
    juce::String damage;
};
} // namespace nadrix
