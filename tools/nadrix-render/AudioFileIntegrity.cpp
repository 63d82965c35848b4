// SPDX-License-Identifier: GPL-3.0-or-later
#include "AudioFileIntegrity.h"

#include <FLAC/stream_decoder.h>

namespace
{
    struct DataChunk
    {
        juce::int64 start = -1;     // byte offset of the first sample
        juce::int64 declared = 0;   // bytes the file says it holds
    };

    // The data chunk of a RIFF, RF64 or AIFF file, by walking its chunks.
    DataChunk findDataChunk (juce::FileInputStream& in)
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
                return { bodyStart, size == 0xffffffff && ds64DataSize >= 0 ? ds64DataSize : size };
            }
            else if (chunk == "SSND" && aiff)
            {
                const auto offset = (juce::uint32) in.readIntBigEndian();
                return { bodyStart + 8 + offset, size - 8 - offset };
            }

            if (! in.setPosition (bodyStart + size + (size & 1)))
                break;
        }
        return {};
    }

    juce::String frames (juce::int64 n) { return juce::String (n) + (n == 1 ? " frame" : " frames"); }

    AudioFileIntegrity checkPcm (const juce::File& file, const juce::AudioFormatReader& reader)
    {
        AudioFileIntegrity result;
        result.framesHeld = reader.lengthInSamples;

        const auto bits = (int) reader.bitsPerSample;
        const bool known = reader.usesFloatingPointData ? (bits == 32 || bits == 64) : (bits == 8 || bits == 16 || bits == 24 || bits == 32);
        if (! known)
        {
            result.unsupported = juce::String (bits) + "-bit samples are not supported (8, 16, 24 or 32-bit integer, 32 or 64-bit float)";
            return result;
        }

        juce::FileInputStream in (file);
        const auto chunk = findDataChunk (in);
        const auto bytesPerFrame = juce::jmax ((juce::int64) 1, (juce::int64) reader.numChannels * bits / 8);

        // Where the data chunk cannot be found (a damaged chunk layout), the
        // whole file is the most it could hold.
        const auto start = chunk.start >= 0 ? chunk.start : 0;
        const auto present = juce::jmax ((juce::int64) 0, file.getSize() - start);
        const auto held = (chunk.start >= 0 ? juce::jmin (present, chunk.declared) : present) / bytesPerFrame;
        if (held < reader.lengthInSamples)
        {
            result.framesHeld = held;
            result.damage = "it declares " + frames (reader.lengthInSamples) + " but holds " + (chunk.start >= 0 ? "" : "at most ") + frames (held)
                          + (chunk.start < 0 ? " (its chunks are damaged)" : present < chunk.declared ? " (cut short)" : "");
        }
        return result;
    }

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

    AudioFileIntegrity checkFlac (const juce::File& file, const juce::AudioFormatReader& reader)
    {
        AudioFileIntegrity result;
        result.framesHeld = reader.lengthInSamples;

        FlacCount count;
        auto* decoder = FLAC__stream_decoder_new();
        if (decoder == nullptr)
            return result;
        if (FLAC__stream_decoder_init_file (decoder, file.getFullPathName().toRawUTF8(), FlacCount::write, nullptr, FlacCount::error, &count)
            == FLAC__STREAM_DECODER_INIT_STATUS_OK)
            FLAC__stream_decoder_process_until_end_of_stream (decoder);
        FLAC__stream_decoder_delete (decoder);

        if (count.errors > 0 || count.decoded < reader.lengthInSamples)
        {
            result.framesHeld = juce::jmin (count.decoded, reader.lengthInSamples);
            result.damage = "it declares " + frames (reader.lengthInSamples) + " but " + frames (count.decoded) + " decode"
                          + (count.errors > 0 ? ", with " + juce::String (count.errors) + " decoding errors" : juce::String());
        }
        return result;
    }
}

AudioFileIntegrity checkIntegrity (const juce::File& file, const juce::AudioFormatReader& reader)
{
    if (reader.getFormatName().containsIgnoreCase ("flac"))
        return checkFlac (file, reader);
    return checkPcm (file, reader);
}
