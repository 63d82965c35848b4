// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <juce_audio_formats/juce_audio_formats.h>

#include <memory>

// The audio to reverberate: an audio file read as it is needed, or a signal
// held in memory. Mono or stereo. A damaged file is read only as far as it
// really holds audio.
class InputSignal
{
public:
    // Opens a WAV, AIFF or FLAC file; on failure `error` says why.
    static std::unique_ptr<InputSignal> fromFile (const juce::File& file, juce::String& error);
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

    std::unique_ptr<juce::AudioFormatReader> reader;
    juce::AudioBuffer<float> memory;
    int numChannels = 0;
    double sampleRate = 0.0;
    juce::int64 length = 0;
    juce::String damage;
};
