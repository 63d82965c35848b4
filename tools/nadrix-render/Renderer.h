#pragma once

#include "InputSignal.h"
#include "NadrixAudioProcessor.h"

// Streams an input through the processor block by block, exactly as a host
// does (a mono input uses the 1 in / 2 out layout), then runs on through the
// tail with silent input, writing every block as it comes.
class Renderer
{
public:
    Renderer (NadrixAudioProcessor& processor, int blockSize);

    juce::Result render (InputSignal& input, juce::int64 tailFrames, juce::AudioFormatWriter& output);

private:
    NadrixAudioProcessor& processor;
    const int blockSize;
};
