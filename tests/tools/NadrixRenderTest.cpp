// SPDX-License-Identifier: GPL-3.0-or-later
// Runs the built nadrix-render as a user would and checks what it writes and says.
#include "RenderTestKit.h"

TEST_F (RenderFixture, RendersAFileAsAHostWouldAtItsOwnRate)
{
    juce::WavAudioFormat wav;
    const auto in = writeAudio ("in.wav", wav, noiseBuffer (2, 9000, 1), 48000.0, 32);
    const auto out = dir.getChildFile ("out.wav");

    const auto run = runRender ({ in.getFullPathName(), "-o", out.getFullPathName(), "--program", "Robotizer", "--tail", "0.5", "--block", "300" });
    ASSERT_EQ (run.exitCode, 0) << run.output;
    EXPECT_TRUE (run.output.contains (out.getFullPathName())) << run.output;
    EXPECT_TRUE (run.output.contains ("Robotizer")) << run.output;

    double rate = 0;
    const auto rendered = readAudio (out, rate);
    EXPECT_EQ (rate, 48000.0);
    ASSERT_EQ (rendered.getNumChannels(), 2);
    ASSERT_EQ (rendered.getNumSamples(), 9000 + 24000);

    // The same through an in-process processor, block by block.
    NadrixAudioProcessor expected;
    expected.setRateAndBufferSizeDetails (48000.0, 300);
    expected.prepareToPlay (48000.0, 300);
    expected.setCurrentProgram (2);
    juce::AudioBuffer<float> audio (2, 33000);
    audio.clear();
    const auto input = noiseBuffer (2, 9000, 1);
    for (int ch = 0; ch < 2; ++ch)
        audio.copyFrom (ch, 0, input, ch, 0, 9000);
    processInBlocks (expected, audio, 300);
    EXPECT_TRUE (identical (rendered, audio));
}

TEST_F (RenderFixture, MonoFlacAndStereoAiffInputsGiveStereoOutput)
{
    juce::FlacAudioFormat flac;
    auto mono = noiseBuffer (1, 4000, 2);
    const auto in = writeAudio ("in.flac", flac, mono, 44100.0, 24);
    const auto out = dir.getChildFile ("out.wav");

    const auto run = runRender ({ in.getFullPathName(), "-o", out.getFullPathName(), "--set", "Mix=1", "--tail", "0.2" });
    ASSERT_EQ (run.exitCode, 0) << run.output;
    double rate = 0;
    const auto rendered = readAudio (out, rate);
    ASSERT_EQ (rendered.getNumChannels(), 2);
    EXPECT_EQ (rendered.getNumSamples(), 4000 + 8820);
    EXPECT_GT (rendered.getMagnitude (1, 0, rendered.getNumSamples()), 0.001f);

    juce::AiffAudioFormat aiff;
    const auto aiffIn = writeAudio ("in.aiff", aiff, noiseBuffer (2, 3000, 4), 96000.0, 16);
    const auto aiffRun = runRender ({ aiffIn.getFullPathName(), "-o", out.getFullPathName(), "--tail", "0" });
    ASSERT_EQ (aiffRun.exitCode, 0) << aiffRun.output;
    EXPECT_EQ (readAudio (out, rate).getNumSamples(), 3000);
    EXPECT_EQ (rate, 96000.0);
}

TEST_F (RenderFixture, ListsProgramsAndParameters)
{
    const auto programs = runRender ({ "--list-programs" });
    EXPECT_EQ (programs.exitCode, 0);
    EXPECT_TRUE (programs.output.contains ("3  Sheep Spring Reverb"));
    EXPECT_EQ (juce::StringArray::fromLines (programs.output.trim()).size(), 6);

    const auto params = runRender ({ "--list-params" });
    EXPECT_EQ (params.exitCode, 0);
    EXPECT_EQ (juce::StringArray::fromLines (params.output.trim()).size(), 357);
    EXPECT_TRUE (params.output.contains ("Predelay gain Dly 49"));
}

TEST_F (RenderFixture, ThreadsChangeNoBitAndABatchGoesOnPastAFileThatFails)
{
    juce::WavAudioFormat wav;
    const auto a = writeAudio ("a.wav", wav, noiseBuffer (2, 50000, 3), 48000.0, 24);
    const auto b = writeAudio ("b.wav", wav, noiseBuffer (1, 7000, 4), 44100.0, 16);
    const auto broken = dir.getChildFile ("c.wav");
    ASSERT_TRUE (broken.replaceWithText ("not audio"));
    const auto path = [this] (const char* name) { return dir.getChildFile (name).getFullPathName(); };

    for (const char* threads : { "1", "2", "3" })
        ASSERT_EQ (runRender ({ a.getFullPathName(), "-o", path (threads), "--threads", threads, "--block", "300", "--program", "Nice Hall" }).exitCode, 0);
    EXPECT_EQ (bytesOf (dir.getChildFile ("2")), bytesOf (dir.getChildFile ("1")));
    EXPECT_EQ (bytesOf (dir.getChildFile ("3")), bytesOf (dir.getChildFile ("1")));

    const auto batch = runRender ({ a.getFullPathName(), broken.getFullPathName(), b.getFullPathName(), "-o", path ("out") + "/", "--threads", "2",
                                    "--block", "300", "--program", "Nice Hall" });
    EXPECT_EQ (batch.exitCode, 1) << batch.output;
    EXPECT_TRUE (batch.output.contains ("c.wav: cannot read")) << batch.output;
    EXPECT_TRUE (batch.output.contains ("wrote 2 of 3 files")) << batch.output;
    EXPECT_EQ (bytesOf (dir.getChildFile ("out/a.wav")), bytesOf (dir.getChildFile ("1")));
    double rate = 0;
    EXPECT_EQ (readAudio (dir.getChildFile ("out/b.wav"), rate).getNumChannels(), 2);
    EXPECT_FALSE (dir.getChildFile ("out/c.wav").exists());

    const juce::File twin = dir.getChildFile ("sub/a.wav");
    ASSERT_TRUE (a.copyFileTo (twin) || (twin.getParentDirectory().createDirectory() && a.copyFileTo (twin)));
    const std::vector<std::pair<juce::StringArray, juce::String>> refused = {
        { { a.getFullPathName(), twin.getFullPathName(), "-o", path ("out2") + "/" }, "would both be written to a.wav" },
        { { a.getFullPathName(), b.getFullPathName(), "-o", path ("single.wav") }, "-o FOLDER/" },
        { { a.getFullPathName(), "-o", path ("out3") + "/", "--threads", "0" }, "--threads" },
    };
    for (const auto& [args, expected] : refused)
    {
        const auto run = runRender (args);
        EXPECT_EQ (run.exitCode, 2) << args.joinIntoString (" ");
        EXPECT_TRUE (run.output.contains (expected)) << run.output;
    }
}
