// SPDX-License-Identifier: GPL-3.0-or-later
// Runs the built nadrix-render as a user would and checks what it writes and says.
#include "tests/tools/RenderTestKit.h"

namespace nadrix
{
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

    // A mono file plays as a mono track does (one input, two outputs), and
    // all dry it is heard on both sides.
    const auto mono = writeAudio ("mono.wav", wav, noiseBuffer (1, 9000, 2), 48000.0, 32);
    for (const char* mix : { "0.7", "0" })
    {
        ASSERT_EQ (runRender ({ mono.getFullPathName(), "-o", out.getFullPathName(), "--program", "Robotizer", "--set", juce::String ("Mix=") + mix,
                                "--tail", "0.5", "--block", "300" }).exitCode, 0);
        const auto monoRendered = readAudio (out, rate);
        ASSERT_EQ (monoRendered.getNumChannels(), 2);
        NadrixAudioProcessor monoTrack;
        ASSERT_TRUE (monoTrack.setBusesLayout ({ { juce::AudioChannelSet::mono() }, { juce::AudioChannelSet::stereo() } }));
        monoTrack.setRateAndBufferSizeDetails (48000.0, 300);
        monoTrack.prepareToPlay (48000.0, 300);
        monoTrack.setCurrentProgram (2);
        monoTrack.getParameters()[0]->setValueNotifyingHost (juce::String (mix).getFloatValue());
        juce::AudioBuffer<float> monoAudio (2, 33000);
        monoAudio.clear();
        monoAudio.copyFrom (0, 0, noiseBuffer (1, 9000, 2), 0, 0, 9000);
        processInBlocks (monoTrack, monoAudio, 300);
        EXPECT_TRUE (identical (monoRendered, monoAudio)) << "Mix " << mix;
        // (The wet side's gain at Mix 0 is cos (pi / 2) in float, -147 dB.)
        const auto dry = noiseBuffer (1, 9000, 2);
        for (int i = 0; i < 9000 && juce::String (mix) == "0"; ++i)
        {
            ASSERT_NEAR (monoRendered.getSample (0, i), dry.getSample (0, i), 1.0e-6f) << i;
            ASSERT_NEAR (monoRendered.getSample (1, i), dry.getSample (0, i), 1.0e-6f) << i;
        }
    }
}

TEST_F (RenderFixture, ThreadsChangeNoBitAndABatchGoesOnPastAFileThatFails)
{
    juce::WavAudioFormat wav;
    const auto a = writeAudio ("a.wav", wav, noiseBuffer (2, 50000, 3), 48000.0, 24);
    const auto b = writeAudio ("b.wav", wav, noiseBuffer (1, 7000, 4), 44100.0, 16);
    const auto broken = dir.getChildFile ("c.wav");
    ASSERT_TRUE (broken.replaceWithText ("not audio"));
    const auto path = [this] (const juce::String& name) { return dir.getChildFile (name).getFullPathName(); };

    for (const char* threads : { "1", "2", "3" })
        ASSERT_EQ (runRender ({ a.getFullPathName(), "-o", path (threads + juce::String (".wav")), "--threads", threads, "--block", "300", "--program", "Nice Hall" }).exitCode, 0);
    EXPECT_EQ (bytesOf (dir.getChildFile ("2.wav")), bytesOf (dir.getChildFile ("1.wav")));
    EXPECT_EQ (bytesOf (dir.getChildFile ("3.wav")), bytesOf (dir.getChildFile ("1.wav")));

    const auto batch = runRender ({ a.getFullPathName(), broken.getFullPathName(), b.getFullPathName(), "-o", path ("out") + "/", "--threads", "2",
                                    "--block", "300", "--program", "Nice Hall" });
    EXPECT_EQ (batch.exitCode, 1) << batch.output;
    EXPECT_TRUE (batch.output.contains ("c.wav: cannot read")) << batch.output;
    EXPECT_TRUE (batch.output.contains ("wrote 2 of 3 files")) << batch.output;
    EXPECT_EQ (bytesOf (dir.getChildFile ("out/a.wav")), bytesOf (dir.getChildFile ("1.wav")));
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

TEST_F (RenderFixture, TheWholeTailRingsOutAndTheLongestStopsWithANotice)
{
    juce::WavAudioFormat wav;
    const auto in = writeAudio ("impulse.wav", wav, impulseBuffer (1, 4410), 44100.0, 32);

    for (int program = 0; program < 6; ++program)
    {
        const auto out = dir.getChildFile ("p" + juce::String (program) + ".wav");
        const auto run = runRender ({ in.getFullPathName(), "-o", out.getFullPathName(), "--program", juce::String (program) });
        ASSERT_EQ (run.exitCode, 0) << run.output;
        EXPECT_FALSE (run.output.contains ("notice")) << run.output;

        double rate = 0;
        const auto audio = readAudio (out, rate);
        const float peak = audio.getMagnitude (0, audio.getNumSamples());
        const int lastTenth = 4410;
        const float end = audio.getMagnitude (audio.getNumSamples() - lastTenth, lastTenth);
        EXPECT_LT (20.0 * std::log10 (end / peak + 1e-30), -90.0) << "program " << program << ", " << audio.getNumSamples() << " frames";
        out.deleteFile();
    }

    // Every line at its longest delay and most feedback rings for many minutes.
    const auto lowIn = writeAudio ("impulse8k.wav", wav, impulseBuffer (1, 800), 8000.0, 32);
    juce::StringArray args { lowIn.getFullPathName(), "-o", dir.getChildFile ("long.wav").getFullPathName() };
    for (int j = 0; j < 50; ++j)
        args.addArray ({ "--set", "Feedback Dly " + juce::String (j) + "=1", "--set", "Delay time Dly " + juce::String (j) + "=1" });
    const auto run = runRender (args);
    ASSERT_EQ (run.exitCode, 0) << run.output;
    EXPECT_TRUE (run.output.contains ("notice: the reverb still sounded after 300 s of tail")) << run.output;
    double rate = 0;
    EXPECT_EQ (readAudio (dir.getChildFile ("long.wav"), rate).getNumSamples(), 800 + 300 * 8000);
}

TEST_F (RenderFixture, HelpManPageAndReadmeShowTheSameUsage)
{
    const auto help = runRender ({ "--help" }).output;
    const juce::File source (NADRIX_SOURCE_DIR);
    const auto readme = source.getChildFile ("README.md").loadFileAsString();
    const auto manPage = juce::File (NADRIX_RENDER_MANUAL).loadFileAsString().replace ("\\-", "-");
    ASSERT_TRUE (manPage.contains (".SH OPTIONS")) << NADRIX_RENDER_MANUAL;

    // The README's synopsis is --help's, line for line.
    const auto synopsisOf = [] (const juce::String& text) {
        juce::StringArray lines;
        for (auto line : juce::StringArray::fromLines (text))
        {
            line = line.trim();
            if (line.startsWith ("usage:"))
                line = line.fromFirstOccurrenceOf ("usage:", false, false).trim();
            if (line.startsWith ("nadrix-render "))
                lines.add (line);
            else if (line.startsWith ("[") && ! lines.isEmpty())
                lines.getReference (lines.size() - 1) << " " << line;
        }
        return lines;
    };
    const auto readmeBlock = readme.fromFirstOccurrenceOf ("## nadrix-render", false, false)
                                 .fromFirstOccurrenceOf ("```sh", false, false).upToFirstOccurrenceOf ("```", false, false);
    EXPECT_EQ (synopsisOf (readmeBlock), synopsisOf (help.upToFirstOccurrenceOf ("\n\n", false, false)));

    // Every option --help names has its entry in the man page and a mention in the README.
    juce::StringArray options;
    for (const auto& word : juce::StringArray::fromTokens (help.replaceCharacters ("[]|=,;:.()\"'", "            "), " \n", ""))
        if (word.startsWith ("--") && word.length() > 2)
            options.addIfNotAlreadyThere (word);
    EXPECT_GT (options.size(), 20);
    const auto manOptions = manPage.fromFirstOccurrenceOf (".SH OPTIONS", false, false).upToFirstOccurrenceOf (".SH EXAMPLES", false, false);
    for (const auto& option : options)
    {
        EXPECT_TRUE (manOptions.contains ("\\fB" + option + "\\fR")) << option << " is not in the man page's OPTIONS";
        EXPECT_TRUE (readme.contains (option)) << option << " is not in the README";
    }
    EXPECT_TRUE (manPage.contains (".SH EXAMPLES"));
    EXPECT_FALSE (manPage.contains ("@")) << "a part of the manual left unfilled";

    // The README's example of --list-params is what the tool lists for it.
    const auto example = readme.fromFirstOccurrenceOf ("(`--program \"Nice Hall\" --list-params`):", false, false)
                             .fromFirstOccurrenceOf ("```", false, false).upToFirstOccurrenceOf ("```", false, false).trim();
    const auto listed = runRender ({ "--program", "Nice Hall", "--list-params" }).output;
    ASSERT_TRUE (example.isNotEmpty());
    for (const auto& line : juce::StringArray::fromLines (example))
        EXPECT_TRUE (listed.contains (line)) << "the README shows '" << line << "'";
}
} // namespace nadrix
