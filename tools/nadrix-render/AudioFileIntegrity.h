// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <juce_audio_formats/juce_audio_formats.h>

// How much of an audio file is really there. A WAV or AIFF file may declare
// more audio than it holds (cut short, or a damaged size field); a FLAC file
// may lose frames to damage. The readers fill what is missing with silence
// without a word: this finds it out beforehand.
struct AudioFileIntegrity
{
    juce::int64 framesHeld = 0;   // what can be rendered
    juce::String damage;          // what is wrong, or empty when the file is whole
    juce::String unsupported;     // a sample format the readers would turn into silence, or empty
};

AudioFileIntegrity checkIntegrity (const juce::File& file, const juce::AudioFormatReader& reader);
