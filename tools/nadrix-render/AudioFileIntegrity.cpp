// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/nadrix-render/AudioFileIntegrity.h"

#if NADRIX_RENDER_READS_FLAC
#include <FLAC/stream_decoder.h>
#endif

#include <limits>
#include <vector>

namespace nadrix
{
namespace
{
    struct DataChunk
    {
        juce::int64 start = -1;     // byte offset of the first sample
        juce::int64 declared = 0;   // bytes the file says it holds
    };

    // The data chunk of a RIFF, RF64 or AIFF file, by walking its chunks.
    DataChunk findDataChunk (juce::InputStream& in)
    {
        char id[4];
        if (in.read (id, 4) != 4)
            return {};
        const juce::String form (id, 4);
        const bool aiff = form == "FORM";
        if (form != "RIFF" && form != "RF64" && ! aiff)
            return {};
        in.skipNextBytes (8); // size and WAVE / AIFF / AIFC

        juce::int64 ds64DataSize = -1;
        while (in.read (id, 4) == 4)
        {
            const juce::String chunk (id, 4);
            const juce::int64 size = aiff ? (juce::uint32) in.readIntBigEndian() : (juce::uint32) in.readInt();
            const auto bodyStart = in.getPosition();

            if (chunk == "ds64")
            {
                in.skipNextBytes (8);
                ds64DataSize = in.readInt64();
            }
            else if (chunk == "data" && ! aiff)
            {
                // A size of 0xffffffff without ds64 is what programs writing
                // into a pipe leave: the data runs to the end of the file.
                if (size == 0xffffffff)
                    return { bodyStart, ds64DataSize >= 0 ? ds64DataSize : std::numeric_limits<juce::int64>::max() };
                return { bodyStart, size };
            }
            else if (chunk == "SSND" && aiff)
            {
                // Its samples start `offset` bytes into the chunk, after an
                // 8-byte header; an offset past the chunk leaves nothing in it.
                const auto offset = (juce::uint32) in.readIntBigEndian();
                return { bodyStart + 8 + offset, juce::jmax ((juce::int64) 0, size - 8 - offset) };
            }

            if (! in.setPosition (bodyStart + size + (size & 1)))
                break;
        }
        return {};
    }

    juce::String frames (juce::int64 n) { return juce::String (n) + (n == 1 ? " frame" : " frames"); }

    // Bytes per sample of the sample formats stored plainly in a data chunk, or 0.
    int plainSampleBytes (int subtype)
    {
        switch (subtype)
        {
            case SF_FORMAT_PCM_S8: case SF_FORMAT_PCM_U8: case SF_FORMAT_ULAW: case SF_FORMAT_ALAW: return 1;
            case SF_FORMAT_PCM_16: return 2;
            case SF_FORMAT_PCM_24: return 3;
            case SF_FORMAT_PCM_32: case SF_FORMAT_FLOAT: return 4;
            case SF_FORMAT_DOUBLE: return 8;
            default: return 0;
        }
    }

    AudioFileIntegrity checkChunk (const juce::File& path, const SF_INFO& info, int sampleBytes)
    {
        AudioFileIntegrity result;
        result.framesHeld = info.frames;

        juce::FileInputStream in (path);
        const auto chunk = findDataChunk (in);
        const juce::int64 bytesPerFrame = (juce::int64) info.channels * sampleBytes;
        const bool toTheEnd = chunk.declared == std::numeric_limits<juce::int64>::max();
        const auto declared = chunk.start >= 0 && ! toTheEnd ? chunk.declared / bytesPerFrame : (juce::int64) info.frames;

        // Where the data chunk cannot be found (a damaged chunk layout), the
        // whole file is the most it could hold.
        const auto start = chunk.start >= 0 ? chunk.start : 0;
        const auto present = juce::jmax ((juce::int64) 0, path.getSize() - start);
        const auto held = juce::jmin ((chunk.start >= 0 ? juce::jmin (present, chunk.declared) : present) / bytesPerFrame, (juce::int64) info.frames);
        result.framesHeld = held;
        if (held < declared)
            result.damage = "it declares " + frames (declared) + " but holds " + (chunk.start >= 0 ? "" : "at most ") + frames (held)
                          + (chunk.start < 0 ? " (its chunks are damaged)" : present < chunk.declared ? " (cut short)" : "");
        return result;
    }

    // Other compressed files are decoded whole once: what decodes is what there is.
    AudioFileIntegrity checkByDecoding (SNDFILE* file, const SF_INFO& info)
    {
        AudioFileIntegrity result;
        std::vector<float> scratch ((size_t) (4096 * info.channels));
        juce::int64 decoded = 0;
        for (sf_count_t n; (n = sf_readf_float (file, scratch.data(), 4096)) > 0;)
            decoded += n;
        const int error = sf_error (file);
        sf_seek (file, 0, SEEK_SET);

        result.framesHeld = decoded;
        if (error != SF_ERR_NO_ERROR || decoded < info.frames)
            result.damage = "it declares " + frames (info.frames) + " but " + frames (decoded) + " decode"
                          + (error != SF_ERR_NO_ERROR ? " (" + juce::String (sf_error_number (error)).trimCharactersAtEnd (".") + ")" : juce::String());
        return result;
    }

#if NADRIX_RENDER_READS_FLAC
    // libFLAC's own decoder, counting what decodes and what does not.
    struct FlacCount
    {
        juce::int64 decoded = 0;
        int errors = 0;

        static FLAC__StreamDecoderWriteStatus write (const FLAC__StreamDecoder*, const FLAC__Frame* frame, const FLAC__int32* const[], void* self)
        {
            static_cast<FlacCount*> (self)->decoded += frame->header.blocksize;
            return FLAC__STREAM_DECODER_WRITE_STATUS_CONTINUE;
        }
        static void error (const FLAC__StreamDecoder*, FLAC__StreamDecoderErrorStatus, void* self) { ++static_cast<FlacCount*> (self)->errors; }
    };

    AudioFileIntegrity checkFlac (const juce::File& file, const SF_INFO& info)
    {
        AudioFileIntegrity result;
        const juce::int64 declared = info.frames;
        result.framesHeld = declared;

        FlacCount count;
        auto* decoder = FLAC__stream_decoder_new();
        if (decoder == nullptr)
            return result;
        if (FLAC__stream_decoder_init_file (decoder, file.getFullPathName().toRawUTF8(), FlacCount::write, nullptr, FlacCount::error, &count)
            == FLAC__STREAM_DECODER_INIT_STATUS_OK)
            FLAC__stream_decoder_process_until_end_of_stream (decoder);
        FLAC__stream_decoder_delete (decoder);

        if (count.errors > 0 || count.decoded < declared)
        {
            result.framesHeld = juce::jmin (count.decoded, declared);
            result.damage = "it declares " + frames (declared) + " but " + frames (count.decoded) + " decode"
                          + (count.errors > 0 ? ", with " + juce::String (count.errors) + (count.errors == 1 ? " decoding error" : " decoding errors") : juce::String());
        }
        return result;
    }
#endif
}

namespace
{
    bool isChunked (const SF_INFO& info)
    {
        const int major = info.format & SF_FORMAT_TYPEMASK;
        return major == SF_FORMAT_WAV || major == SF_FORMAT_WAVEX || major == SF_FORMAT_RF64 || major == SF_FORMAT_AIFF;
    }
}

juce::int64 declaredFrames (const void* firstBytes, size_t size, const SF_INFO& info)
{
    if (const int sampleBytes = plainSampleBytes (info.format & SF_FORMAT_SUBMASK); isChunked (info) && sampleBytes > 0)
    {
        juce::MemoryInputStream in (firstBytes, size, false);
        const auto chunk = findDataChunk (in);
        if (chunk.start < 0 || chunk.declared == std::numeric_limits<juce::int64>::max())
            return -1;
        return chunk.declared / ((juce::int64) info.channels * sampleBytes);
    }
    return info.frames > 0 && info.frames < std::numeric_limits<sf_count_t>::max() ? (juce::int64) info.frames : -1;
}

AudioFileIntegrity checkIntegrity (const juce::File& path, SNDFILE* file, const SF_INFO& info)
{
#if NADRIX_RENDER_READS_FLAC
    if ((info.format & SF_FORMAT_TYPEMASK) == SF_FORMAT_FLAC)
    {
        // libFLAC tells the frames that fail; libsndfile, which the render
        // reads with, may deliver fewer still: the file holds what both give.
        const auto flac = checkFlac (path, info);
        const auto read = checkByDecoding (file, info);
        return read.framesHeld < flac.framesHeld ? read : flac;
    }
#endif

    if (const int sampleBytes = plainSampleBytes (info.format & SF_FORMAT_SUBMASK); isChunked (info) && sampleBytes > 0)
        return checkChunk (path, info, sampleBytes);
    return checkByDecoding (file, info);
}
} // namespace nadrix
