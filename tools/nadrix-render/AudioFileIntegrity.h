// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <juce_core/juce_core.h>

#include <sndfile.h>

namespace nadrix
{
// How much of an audio file is really there. A WAV or AIFF file may declare
// more audio than it holds (cut short, or a damaged size field); a FLAC or
// other compressed file may lose frames to damage. The decoders fill what is
// missing with silence or stop without a word: this finds it out beforehand.
struct AudioFileIntegrity
{
    juce::int64 framesHeld = 0;   // what can be rendered
    juce::String damage;          // what is wrong, or empty when the file is whole
};

// `file` is open on `path` and is left at its first frame.
AudioFileIntegrity checkIntegrity (const juce::File& path, SNDFILE* file, const SF_INFO& info);

// The frames a stream says it will hold, from its first bytes, or -1 where it
// does not say (a WAV written into a pipe, a coded stream without a count).
juce::int64 declaredFrames (const void* firstBytes, size_t size, const SF_INFO& info);
} // namespace nadrix
