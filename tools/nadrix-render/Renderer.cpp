// SPDX-License-Identifier: GPL-3.0-or-later
#include "Renderer.h"

#include "ProgressBar.h"

Renderer::Renderer (NadrixAudioProcessor& p, InputSignal& in, int frames) : processor (p), input (in), blockSize (frames)
{
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

juce::Result Renderer::render (juce::int64 tailFrames, juce::AudioFormatWriter& output)
{
    if (preparation.failed())
        return preparation;

    const juce::int64 total = input.getLength() + tailFrames;
    juce::AudioBuffer<float> buffer (2, blockSize);
    juce::MidiBuffer midi;
    ProgressBar progress (total);

    for (juce::int64 position = 0; position < total; position += blockSize)
    {
        const int n = (int) juce::jmin ((juce::int64) blockSize, total - position);
        buffer.clear();

        if (position < input.getLength())
            input.read (buffer, position, (int) juce::jmin ((juce::int64) n, input.getLength() - position));

        juce::AudioBuffer<float> block (buffer.getArrayOfWritePointers(), 2, 0, n);
        processor.processBlock (block, midi);

        if (! output.writeFromAudioSampleBuffer (block, 0, n))
            return juce::Result::fail ("writing the output failed (disk full?)");

        progress.update (position + n);
    }

    return juce::Result::ok();
}
