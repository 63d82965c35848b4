// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "InputSignal.h"
#include "NadrixAudioProcessor.h"

// Streams an input through the processor block by block, exactly as a host
// does (a mono input uses the 1 in / 2 out layout), then runs on through the
// tail with silent input, writing every block as it comes.
class Renderer
{
public:
    // Prepares the processor for the input's layout and sample rate, as a host
    // does before it plays.
    Renderer (NadrixAudioProcessor& processor, InputSignal& input, int blockSize);
    ~Renderer();

    juce::Result prepared() const { return preparation; }
    juce::Result render (juce::int64 tailFrames, juce::AudioFormatWriter& output);

private:
    NadrixAudioProcessor& processor;
    InputSignal& input;
    const int blockSize;
    juce::Result preparation { juce::Result::ok() };
};
