// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "InputSignal.h"
#include "NadrixAudioProcessor.h"

#include <functional>

// Streams an input through the processor block by block, exactly as a host
// does (a mono input uses the 1 in / 2 out layout), then runs on through the
// tail with silent input, handing on every block as it comes.
class Renderer
{
public:
    // Prepares the processor for the input's layout and sample rate, as a host
    // does before it plays; its lines run on `threads` threads.
    Renderer (NadrixAudioProcessor& processor, InputSignal& input, int blockSize, int threads, bool showProgress);
    ~Renderer();

    juce::Result prepared() const { return preparation; }

    // The next `frames` frames (the input while it lasts, then silence), each
    // processed block handed to `sink`, which returns false when it cannot
    // take it (the run then fails with `sinkFailure`).
    using Sink = std::function<bool (const juce::AudioBuffer<float>& block)>;
    juce::Result run (juce::int64 frames, const Sink& sink, const juce::String& sinkFailure);

    // The whole input and then `tailFrames` more, into a file.
    juce::Result render (juce::int64 tailFrames, juce::AudioFormatWriter& output);

private:
    NadrixAudioProcessor& processor;
    InputSignal& input;
    const int blockSize;
    const bool showProgress;
    juce::int64 position = 0;
    juce::Result preparation { juce::Result::ok() };
};
