// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/nadrix-render/OggSerialRewriter.h"
#include "tools/nadrix-render/OutputChannel.h"

#include <memory>

struct sf_private_tag; // libsndfile's SNDFILE

namespace nadrix
{
// The kinds libsndfile writes (AIFF, FLAC, Ogg Vorbis, Opus, MP3), into an
// output channel: a file, where libsndfile goes back to finish its headers,
// or a stream, which FLAC, Ogg and MP3 take as they come (AIFF cannot: it
// must state its length before its audio). Integer samples are clipped at
// full scale, and no PEAK chunk carries the time of writing, so the same
// render gives the same bytes; Ogg pages leave with one fixed serial.
class SndfileWriter
{
public:
    static std::unique_ptr<SndfileWriter> open (OutputChannel& channel, int sndfileFormat, int sampleRate, juce::String& error);
    ~SndfileWriter();

    bool write (const float* interleaved, int numFrames);
    bool finish();

    // Whether libsndfile can write this kind without going back over what it wrote.
    static bool streams (int sndfileFormat);

private:
    explicit SndfileWriter (OutputChannel& channel);
    juce::int64 seek (juce::int64 offset, int whence);
    juce::int64 writeBytes (const char* data, juce::int64 bytes);

    OutputChannel& out;
    juce::int64 position = 0; // where libsndfile believes it writes
    std::unique_ptr<OggSerialRewriter> ogg;
    sf_private_tag* file = nullptr;
    bool failed = false;
};
} // namespace nadrix
