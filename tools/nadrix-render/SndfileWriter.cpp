// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/nadrix-render/SndfileWriter.h"

#include <sndfile.h>

namespace nadrix
{
namespace
{
    constexpr juce::uint32 fixedOggSerial = 0x5852444e; // "NDRX"
}

SndfileWriter::SndfileWriter (OutputChannel& channel) : out (channel) {}

juce::int64 SndfileWriter::seek (juce::int64 offset, int whence)
{
    const auto to = whence == SEEK_SET ? offset : whence == SEEK_CUR ? position + offset : out.getLength() + offset;
    if (to < 0 || to > out.getLength())
        return -1;
    if (out.canSeek() && to != out.getPosition() && ! out.seekTo (to))
        return -1;
    position = to;
    return to;
}

juce::int64 SndfileWriter::writeBytes (const char* data, juce::int64 bytes)
{
    // Bytes before a stream's end are its past: dropped.
    const auto dropped = out.canSeek() ? 0 : juce::jlimit ((juce::int64) 0, bytes, out.getLength() - position);
    const auto rest = (size_t) (bytes - dropped);
    const bool written = rest == 0 || (ogg != nullptr ? ogg->feed (data + dropped, rest) : out.write (data + dropped, rest));
    failed = failed || ! written;
    position += written ? bytes : 0;
    return written ? bytes : 0;
}

bool SndfileWriter::streams (int format)
{
    return (format & SF_FORMAT_TYPEMASK) != SF_FORMAT_AIFF;
}

std::unique_ptr<SndfileWriter> SndfileWriter::open (OutputChannel& channel, int format, int sampleRate, juce::String& error)
{
    std::unique_ptr<SndfileWriter> w (new SndfileWriter (channel));
    if ((format & SF_FORMAT_TYPEMASK) == SF_FORMAT_OGG)
        w->ogg = std::make_unique<OggSerialRewriter> (fixedOggSerial, [&channel] (const void* d, size_t n) { return channel.write (d, n); });

    // libsndfile's view of the channel: it writes, goes back where the
    // channel can, and never reads what it writes here. A stream cannot go
    // back: what libsndfile writes over its past (FLAC's and MP3's header
    // sizes, at the end) is dropped, leaving those sizes unknown, as a
    // stream has them, instead of landing after the audio.
    static SF_VIRTUAL_IO io {
        [] (void* self) -> sf_count_t { return static_cast<SndfileWriter*> (self)->out.getLength(); },
        [] (sf_count_t offset, int whence, void* self) -> sf_count_t {
            return static_cast<SndfileWriter*> (self)->seek (offset, whence);
        },
        [] (void*, sf_count_t, void*) -> sf_count_t { return 0; },
        [] (const void* data, sf_count_t bytes, void* self) -> sf_count_t {
            return static_cast<SndfileWriter*> (self)->writeBytes (static_cast<const char*> (data), bytes);
        },
        [] (void* self) -> sf_count_t { return static_cast<SndfileWriter*> (self)->position; },
    };

    SF_INFO info {};
    info.samplerate = sampleRate;
    info.channels = 2;
    info.format = format;
    w->file = sf_open_virtual (&io, SFM_WRITE, &info, w.get());
    if (w->file == nullptr)
    {
        error = juce::String (sf_strerror (nullptr)).trimCharactersAtEnd (".");
        return {};
    }
    // Floats beyond full scale wrap around when written as integers unless clipped.
    sf_command (w->file, SFC_SET_CLIPPING, nullptr, SF_TRUE);
    // No PEAK chunk: it carries the time of writing, and the same render
    // must give the same bytes whenever and wherever it runs.
    sf_command (w->file, SFC_SET_ADD_PEAK_CHUNK, nullptr, SF_FALSE);
    return w;
}

SndfileWriter::~SndfileWriter()
{
    if (file != nullptr)
        sf_close (file);
}

bool SndfileWriter::write (const float* interleaved, int numFrames)
{
    return sf_writef_float (file, interleaved, numFrames) == numFrames && ! failed;
}

bool SndfileWriter::finish()
{
    const int closed = sf_close (file);
    file = nullptr;
    return closed == 0 && ! failed && (ogg == nullptr || ogg->isEmpty());
}
} // namespace nadrix
