// SPDX-License-Identifier: GPL-3.0-or-later
// What nadrix-render writes is the kind of file its name or --type asks
// for, whole, and the same through a pipe as into a file.
#include "tests/tools/RenderTestKit.h"
#include "tools/nadrix-render/WavWriter.h"
#include "engine/ParameterLayout.h"

#include <sndfile.h>

namespace nadrix
{
namespace
{
    struct FileFacts
    {
        int major = 0, subtype = 0, channels = 0, rate = 0;
        sf_count_t frames = -1;
    };

    FileFacts factsOf (const juce::File& file)
    {
        SF_INFO info {};
        SNDFILE* f = sf_open (file.getFullPathName().toRawUTF8(), SFM_READ, &info);
        if (f == nullptr)
            return {};
        sf_close (f);
        return { info.format & SF_FORMAT_TYPEMASK, info.format & SF_FORMAT_SUBMASK, info.channels, info.samplerate, info.frames };
    }

}

TEST_F (RenderFixture, EveryOutputIsTheKindItsExtensionNamesAndHoldsTheWholeRender)
{
    juce::WavAudioFormat wav;
    const auto in = writeAudio ("in.wav", wav, noiseBuffer (1, 4800, 5), 48000.0, 16);
    const sf_count_t expected = 4800 + 4800; // the input and a tail of 0.1 s

    const std::vector<std::tuple<const char*, std::vector<const char*>, int, int>> kinds = {
        { "out.wav", {}, SF_FORMAT_WAV, SF_FORMAT_FLOAT },
        { "out16.wav", { "--bits", "16" }, SF_FORMAT_WAV, SF_FORMAT_PCM_16 },
        { "out.aiff", {}, SF_FORMAT_AIFF, SF_FORMAT_FLOAT },
        { "out.AIF", { "--bits=24" }, SF_FORMAT_AIFF, SF_FORMAT_PCM_24 },
        { "out.flac", {}, SF_FORMAT_FLAC, SF_FORMAT_PCM_24 },
        { "out.ogg", {}, SF_FORMAT_OGG, SF_FORMAT_VORBIS },
        { "out.opus", {}, SF_FORMAT_OGG, SF_FORMAT_OPUS },
        { "out.mp3", {}, SF_FORMAT_MPEG, SF_FORMAT_MPEG_LAYER_III },
        { "forced.data", { "--type", "flac" }, SF_FORMAT_FLAC, SF_FORMAT_PCM_24 },
    };
    for (const auto& [name, extra, major, subtype] : kinds)
    {
        juce::StringArray args { in.getFullPathName(), "-o", dir.getChildFile (name).getFullPathName(), "--tail", "0.1" };
        for (const auto* arg : extra)
            args.add (arg);
        const auto run = runRender (args);
        ASSERT_EQ (run.exitCode, 0) << name << ": " << run.output;

        const auto facts = factsOf (dir.getChildFile (name));
        EXPECT_EQ (facts.major, major) << name;
        EXPECT_EQ (facts.subtype, subtype) << name;
        EXPECT_EQ (facts.channels, 2) << name;
        EXPECT_EQ (facts.rate, 48000) << name;
        if (subtype == SF_FORMAT_MPEG_LAYER_III || subtype == SF_FORMAT_VORBIS || subtype == SF_FORMAT_OPUS)
            EXPECT_GE (facts.frames, expected - 1152) << name; // coders may pad or trim a frame
        else
            EXPECT_EQ (facts.frames, expected) << name;
    }
}

TEST_F (RenderFixture, APipeCarriesExactlyTheBytesOfTheFileRender)
{
    juce::WavAudioFormat wav;
    const auto in = writeAudio ("in.wav", wav, noiseBuffer (2, 6000, 6), 44100.0, 24);
    const auto file = dir.getChildFile ("file.wav"), piped = dir.getChildFile ("piped.wav");
    const juce::String render = juce::String ("'") + NADRIX_RENDER_PATH + "'";

    ASSERT_EQ (runRender ({ in.getFullPathName(), "-o", file.getFullPathName(), "--program", "Nice Hall", "--tail", "0.5" }).exitCode, 0);
    const auto run = runShell ("cat '" + in.getFullPathName() + "' | " + render + " - -o - --program 'Nice Hall' --tail 0.5 > '" + piped.getFullPathName() + "'");
    ASSERT_EQ (run.exitCode, 0) << run.output;
    EXPECT_TRUE (run.output.contains ("from standard input")) << run.output; // said on stderr, not into the audio
    EXPECT_EQ (bytesOf (piped), bytesOf (file));

    // A FLAC stream in, forced to FLAC out.
    const auto flacFile = dir.getChildFile ("file.flac"), flacPiped = dir.getChildFile ("piped.flac");
    ASSERT_EQ (runRender ({ in.getFullPathName(), "-o", flacFile.getFullPathName(), "--tail", "0.2" }).exitCode, 0);
    const auto again = runShell (render + " - -o - --type flac --tail 0.2 < '" + in.getFullPathName() + "' > '" + flacPiped.getFullPathName() + "'");
    ASSERT_EQ (again.exitCode, 0) << again.output;
    EXPECT_EQ (bytesOf (flacPiped), bytesOf (flacFile));
}

TEST_F (RenderFixture, ListedProgramsAndParametersAreTheOnesARenderWouldUse)
{
    const auto programs = runRender ({ "--list-programs" });
    EXPECT_TRUE (programs.output.contains ("3  Sheep Spring Reverb"));
    EXPECT_EQ (juce::StringArray::fromLines (programs.output.trim()).size(), 6);
    const auto listed = runRender ({ "--program", "nice hall", "--set", "mix=60 %", "--set", "Delay time Dly 3=5 s", "--list-params" });
    ASSERT_EQ (listed.exitCode, 0) << listed.output;
    EXPECT_TRUE (listed.output.contains ("Mix                   0.600000  60.0 % wet")) << listed.output;
    EXPECT_TRUE (listed.output.contains ("Delay time Dly 3      1.000000  500.0 ms (max)")) << listed.output;
    // One notice for the value beyond the range, none for the one within it.
    EXPECT_TRUE (listed.output.contains ("--set Delay time Dly 3=5 s is beyond the parameter's range; using 500.0 ms (max)")) << listed.output;
    EXPECT_EQ (listed.output.indexOf ("beyond"), listed.output.lastIndexOf ("beyond"));

    const auto plain = runRender ({ "--program", "Nice Hall", "--list-params" });
    EXPECT_EQ (juce::StringArray::fromLines (plain.output.trim()).size(), ParameterLayout::numParameters);
    EXPECT_NE (plain.output.fromFirstOccurrenceOf ("Split Freq LOW", false, false).upToFirstOccurrenceOf ("\n", false, false),
               runRender ({ "--list-params" }).output.fromFirstOccurrenceOf ("Split Freq LOW", false, false).upToFirstOccurrenceOf ("\n", false, false));
}

TEST_F (RenderFixture, AWavPastTheRiffLimitBecomesRf64WithEveryFrame)
{
    const auto file = dir.getChildFile ("big.wav");
    const auto keep = WavWriter::riffLimit;
    WavWriter::riffLimit = 4000; // as if 4 GiB were 4000 bytes

    juce::String error;
    auto channel = OutputChannel::createFile (file, error);
    ASSERT_NE (channel, nullptr) << error;
    WavWriter writer (*channel, 44100, 2, 32);
    std::vector<float> frames (2 * 1000);
    for (size_t i = 0; i < frames.size(); ++i)
        frames[i] = (float) i / 4096.0f - 0.25f;
    ASSERT_TRUE (writer.start());
    ASSERT_TRUE (writer.write (frames.data(), 1000));
    ASSERT_TRUE (writer.finish() && channel->close());
    WavWriter::riffLimit = keep;

    const auto facts = factsOf (file);
    EXPECT_EQ (facts.major, SF_FORMAT_RF64);
    EXPECT_EQ (facts.frames, 1000);

    SF_INFO info {};
    SNDFILE* f = sf_open (file.getFullPathName().toRawUTF8(), SFM_READ, &info);
    ASSERT_NE (f, nullptr);
    std::vector<float> back (frames.size());
    EXPECT_EQ (sf_readf_float (f, back.data(), 1000), 1000);
    sf_close (f);
    EXPECT_EQ (back, frames);
}
} // namespace nadrix
