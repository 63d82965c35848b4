// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/nadrix-render/AudioFileType.h"

#include <sndfile.h>

#include <algorithm>
#include <array>

namespace nadrix
{
namespace
{
    const std::array<AudioFileType, 6> types { {
        // WAV becomes RF64 when it grows past 4 GiB (WavWriter).
        { "wav", "WAV", SF_FORMAT_WAV, false, true },
        { "aiff", "AIFF", SF_FORMAT_AIFF, false, true },
        { "flac", "FLAC", SF_FORMAT_FLAC, false, false },
        { "ogg", "Ogg Vorbis", SF_FORMAT_OGG | SF_FORMAT_VORBIS, true, false },
        { "opus", "Ogg Opus", SF_FORMAT_OGG | SF_FORMAT_OPUS, true, false },
        { "mp3", "MP3", SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III, true, false },
    } };

    // Opus codes only these rates; MPEG audio only the rates of its three versions.
    constexpr std::array<double, 5> opusRates { 8000, 12000, 16000, 24000, 48000 };
    constexpr std::array<double, 9> mp3Rates { 8000, 11025, 12000, 16000, 22050, 24000, 32000, 44100, 48000 };

    template <size_t n>
    juce::String listed (const std::array<double, n>& rates)
    {
        juce::String text;
        for (size_t i = 0; i < n; ++i)
            text << (i == 0 ? "" : i + 1 == n ? " or " : ", ") << juce::String (rates[i], 0);
        return text + " Hz";
    }
}

std::optional<AudioFileType> AudioFileType::named (const juce::String& wanted)
{
    const auto name = wanted.trim().trimCharactersAtStart (".").toLowerCase();
    for (const auto& type : types)
        if (name == type.name)
            return type;
    if (name == "aif")
        return types[1];
    return std::nullopt;
}

std::optional<AudioFileType> AudioFileType::ofFile (const juce::File& file)
{
    const auto extension = file.getFileExtension();
    if (extension.isEmpty())
        return std::nullopt;
    return named (extension);
}

const AudioFileType& AudioFileType::wav()
{
    return types[0];
}

juce::String AudioFileType::extensions()
{
    return ".wav .aiff .aif .flac .ogg .opus .mp3";
}

juce::String AudioFileType::names()
{
    juce::StringArray all;
    for (const auto& type : types)
        all.add (type.name);
    return all.joinIntoString (", ");
}

bool AudioFileType::holdsBits (int bits) const noexcept
{
    return ! lossy && (bits == 16 || bits == 24 || (bits == 32 && holdsFloat));
}

bool AudioFileType::holdsRate (double rate) const noexcept
{
    const auto among = [rate] (const auto& rates) { return std::find (rates.begin(), rates.end(), rate) != rates.end(); };
    if (format == (SF_FORMAT_OGG | SF_FORMAT_OPUS))
        return among (opusRates);
    if (format == (SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III))
        return among (mp3Rates);
    return true;
}

juce::String AudioFileType::bitsHeld() const
{
    return lossy ? juce::String ("no choice of bits") : holdsFloat ? juce::String ("16, 24 or 32 bits") : juce::String ("16 or 24 bits");
}

juce::String AudioFileType::ratesHeld() const
{
    if (format == (SF_FORMAT_OGG | SF_FORMAT_OPUS))
        return listed (opusRates);
    if (format == (SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III))
        return listed (mp3Rates);
    return "any rate";
}

int AudioFileType::sndfileFormat (int bits) const noexcept
{
    if (lossy)
        return format;
    return format | (bits == 16 ? SF_FORMAT_PCM_16 : bits == 24 ? SF_FORMAT_PCM_24 : SF_FORMAT_FLOAT);
}

juce::String AudioFileType::describe (int bits) const
{
    if (lossy)
        return title;
    return juce::String (bits) + (bits == 32 ? "-bit float " : "-bit ") + title;
}
} // namespace nadrix
