// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "processor/NadrixAudioProcessor.h"
#include "tests/processor/ProcessorTestHelpers.h"

#include <juce_audio_formats/juce_audio_formats.h>

#include <gtest/gtest.h>

namespace nadrix
{
// Runs the built nadrix-render as a user would.
struct RenderRun
{
    int exitCode;
    juce::String output;
};

inline RenderRun runChild (const juce::StringArray& commandLine)
{
    juce::ChildProcess child;
    if (! child.start (commandLine, juce::ChildProcess::wantStdOut | juce::ChildProcess::wantStdErr))
        return { -1, "could not start" };
    const auto text = child.readAllProcessOutput();
    child.waitForProcessToFinish (120000);
    return { (int) child.getExitCode(), text };
}

inline RenderRun runRender (juce::StringArray args)
{
    args.insert (0, NADRIX_RENDER_PATH);
    return runChild (args);
}

// A shell command line (pipes, redirections), run in `folder`, or in the current one.
inline RenderRun runShell (const juce::String& command, const juce::File& folder = {})
{
    return runChild ({ "/bin/sh", "-c", folder == juce::File() ? command : "cd '" + folder.getFullPathName() + "' && " + command });
}

// A fresh folder for each test, with audio files written and read in it.
class RenderFixture : public testing::Test
{
protected:
    juce::File dir = juce::File::createTempFile ("nadrix-render-test");
    void SetUp() override { ASSERT_TRUE (dir.createDirectory()); }
    void TearDown() override { dir.deleteRecursively(); }

    juce::File writeAudio (const juce::String& name, juce::AudioFormat& format, const juce::AudioBuffer<float>& audio, double rate, int bits)
    {
        const auto file = dir.getChildFile (name);
        auto stream = std::make_unique<juce::FileOutputStream> (file);
        std::unique_ptr<juce::AudioFormatWriter> writer (format.createWriterFor (stream.get(), rate, (unsigned) audio.getNumChannels(), bits, {}, 0));
        EXPECT_NE (writer, nullptr);
        stream.release();
        writer->writeFromAudioSampleBuffer (audio, 0, audio.getNumSamples());
        return file;
    }

    static juce::AudioBuffer<float> readAudio (const juce::File& file, double& rate)
    {
        juce::AudioFormatManager formats;
        formats.registerBasicFormats();
        std::unique_ptr<juce::AudioFormatReader> reader (formats.createReaderFor (file));
        if (reader == nullptr)
            return {};
        rate = reader->sampleRate;
        juce::AudioBuffer<float> audio ((int) reader->numChannels, (int) reader->lengthInSamples);
        reader->read (&audio, 0, audio.getNumSamples(), 0, true, true);
        return audio;
    }

    static juce::MemoryBlock bytesOf (const juce::File& file)
    {
        juce::MemoryBlock data;
        file.loadFileAsData (data);
        return data;
    }
};
} // namespace nadrix
