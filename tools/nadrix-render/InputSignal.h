// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/nadrix-render/InterruptCleanup.h"

#include <juce_audio_basics/juce_audio_basics.h>

#include <memory>

struct sf_private_tag; // libsndfile's SNDFILE

namespace nadrix
{
class PipeReader;

// The audio to reverberate, read in order: an audio file, standard input as
// it arrives, or a signal held in memory. Mono or stereo. A damaged file is
// read only as far as it really holds audio; a stream's damage (fewer frames
// than it declared, or frames that do not decode) is known once it ends.
class InputSignal
{
public:
    ~InputSignal();

    // Opens any file libsndfile reads (WAV, RF64, AIFF, FLAC, Ogg Vorbis,
    // Opus, MP3, ...); on failure `error` says why.
    static std::unique_ptr<InputSignal> fromFile (const juce::File& file, juce::String& error);
    // Standard input, read as it arrives (WAV, AIFF, FLAC, Ogg Vorbis, Opus,
    // MP3); a kind libsndfile cannot read that way is first copied whole into
    // the temporary folder.
    static std::unique_ptr<InputSignal> fromStandardInput (juce::String& error);
    static std::unique_ptr<InputSignal> fromBuffer (juce::AudioBuffer<float> buffer, double sampleRate);

    int getNumChannels() const noexcept { return numChannels; }
    double getSampleRate() const noexcept { return sampleRate; }
    // The frames it holds, or -1 while a stream has not ended.
    juce::int64 getLength() const noexcept { return length; }
    juce::int64 getFramesRead() const noexcept { return position; }
    bool hasEnded() const noexcept { return ended; }

    // What is wrong with it, when it holds less than it declares; empty otherwise.
    const juce::String& getDamage() const noexcept { return damage; }

    // The next frames in order into the first channels of dest; fewer than
    // asked once the input ends. Returns how many.
    int readNext (juce::AudioBuffer<float>& dest, int frames);

private:
    InputSignal() = default;
    static std::unique_ptr<InputSignal> open (const juce::File& file, const juce::String& name, juce::String& error);
    bool takeLayout (const juce::String& name, int channels, int rate, juce::String& error);
    void noteStreamDamage();

    sf_private_tag* file = nullptr;
    std::unique_ptr<PipeReader> pipe;
    std::unique_ptr<juce::TemporaryFile> spool; // standard input that could not be read as it came
    InterruptCleanup::Registration spoolCleanup = nullptr;
    juce::HeapBlock<float> interleaved;
    int interleavedFrames = 0;
    juce::AudioBuffer<float> memory;
    int numChannels = 0;
    double sampleRate = 0.0;
    juce::int64 length = 0;
    juce::int64 declared = -1; // what a stream said it would hold, when it said
    juce::int64 position = 0;
    bool ended = false;
    juce::String damage;
};
} // namespace nadrix
