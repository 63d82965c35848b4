// SPDX-License-Identifier: GPL-3.0-or-later
#include "Renderer.h"

#include "ProgressBar.h"

namespace
{
    // Lines shared between threads meet once per stretch of frames; a block
    // of many stretches lets one thread split the next stretch while the
    // others run the current one. The output is the same for any block size.
    constexpr int sharedBlockFrames = 32768;
}

Renderer::Renderer (NadrixAudioProcessor& p, InputSignal& in, int frames, int threads, bool progress)
    : processor (p), input (in), blockSize (threads > 1 ? juce::jmax (frames, sharedBlockFrames) : frames), showProgress (progress)
{
    processor.useOfflineThreads (threads);

    const auto layout = input.getNumChannels() == 1 ? juce::AudioChannelSet::mono() : juce::AudioChannelSet::stereo();
    if (! processor.setBusesLayout ({ { layout }, { juce::AudioChannelSet::stereo() } }))
    {
        preparation = juce::Result::fail ("the plug-in refused a " + layout.getDescription() + " input");
        return;
    }

    processor.setRateAndBufferSizeDetails (input.getSampleRate(), blockSize);
    processor.prepareToPlay (input.getSampleRate(), blockSize);
}

Renderer::~Renderer()
{
    processor.releaseResources();
}

juce::Result Renderer::run (juce::int64 frames, const Sink& sink, const juce::String& sinkFailure)
{
    if (preparation.failed())
        return preparation;

    juce::AudioBuffer<float> buffer (2, blockSize);
    juce::MidiBuffer midi;
    ProgressBar progress (frames);

    for (juce::int64 done = 0; done < frames; done += blockSize)
    {
        const int n = (int) juce::jmin ((juce::int64) blockSize, frames - done);
        buffer.clear();

        if (position < input.getLength())
            input.read (buffer, position, (int) juce::jmin ((juce::int64) n, input.getLength() - position));

        juce::AudioBuffer<float> block (buffer.getArrayOfWritePointers(), 2, 0, n);
        processor.processBlock (block, midi);
        position += n;

        if (! sink (block))
            return juce::Result::fail (sinkFailure);

        if (showProgress)
            progress.update (done + n);
    }

    return juce::Result::ok();
}

juce::Result Renderer::render (juce::int64 tailFrames, juce::AudioFormatWriter& output)
{
    return run (input.getLength() + tailFrames,
                [&output] (const juce::AudioBuffer<float>& block) { return output.writeFromAudioSampleBuffer (block, 0, block.getNumSamples()); },
                "writing the output failed (disk full?)");
}
