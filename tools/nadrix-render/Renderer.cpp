#include "Renderer.h"

#include "ProgressBar.h"

Renderer::Renderer (NadrixAudioProcessor& p, int frames) : processor (p), blockSize (frames) {}

juce::Result Renderer::render (InputSignal& input, juce::int64 tailFrames, juce::AudioFormatWriter& output)
{
    const auto in = input.getNumChannels() == 1 ? juce::AudioChannelSet::mono() : juce::AudioChannelSet::stereo();
    if (! processor.setBusesLayout ({ { in }, { juce::AudioChannelSet::stereo() } }))
        return juce::Result::fail ("the plug-in refused a " + in.getDescription() + " input");

    processor.setRateAndBufferSizeDetails (input.getSampleRate(), blockSize);
    processor.prepareToPlay (input.getSampleRate(), blockSize);

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
        {
            processor.releaseResources();
            return juce::Result::fail ("writing the output failed (disk full?)");
        }

        progress.update (position + n);
    }

    processor.releaseResources();
    return juce::Result::ok();
}
