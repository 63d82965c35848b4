// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <juce_core/juce_core.h>

#include <optional>

namespace nadrix
{
// A kind of audio file nadrix-render writes, known by its extension or by
// name (--type), with what it can hold: sample rates, and bits per sample
// for the lossless kinds.
struct AudioFileType
{
    const char* name;        // "wav", as --type takes it
    const char* title;       // "WAV", as messages show it
    int format;              // libsndfile's major format and, for the lossy kinds, its codec
    bool lossy;
    bool holdsFloat;         // 32 bits are written as IEEE floats

    static std::optional<AudioFileType> named (const juce::String& name);
    // By the file's extension, in any letter case.
    static std::optional<AudioFileType> ofFile (const juce::File& file);
    static const AudioFileType& wav();
    // ".wav .aiff .aif .flac .ogg .opus .mp3"
    static juce::String extensions();
    // "wav, aiff, flac, ogg, opus, mp3"
    static juce::String names();

    juce::String extension() const { return juce::String (".") + name; }
    // The bits written when --bits does not say: the most the kind holds.
    int defaultBits() const noexcept { return lossy ? 0 : holdsFloat ? 32 : 24; }
    bool holdsBits (int bits) const noexcept;
    bool holdsRate (double sampleRate) const noexcept;
    // What it holds, for a message: "16 or 24 bits", "8000, 12000, 16000, 24000 or 48000 Hz".
    juce::String bitsHeld() const;
    juce::String ratesHeld() const;
    // libsndfile's whole format for `bits` (ignored by the lossy kinds).
    int sndfileFormat (int bits) const noexcept;
    // "32-bit float WAV", "24-bit FLAC", "Ogg Vorbis".
    juce::String describe (int bits) const;
};
} // namespace nadrix
