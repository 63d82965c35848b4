// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/nadrix-render/InputSignal.h"
#include "tools/nadrix-render/OutputFile.h"
#include "tools/nadrix-render/WholeTailRule.h"
#include "processor/NadrixAudioProcessor.h"

#include <functional>

namespace nadrix
{
// Streams an input through the processor block by block, exactly as a host
// does (a mono input uses the 1 in / 2 out layout), then runs on through the
// tail with silent input, handing on every block as it comes. The input is
// read as the render goes, so a stream's length need not be known.
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
    // take it (the run then fails with `sinkFailure`). `finished`, when
    // given, ends the run early once it returns true after a block.
    using Sink = std::function<bool (const juce::AudioBuffer<float>& block)>;
    juce::Result run (juce::int64 frames, const Sink& sink, const juce::String& sinkFailure, const std::function<bool()>& finished = {});

    // The whole input and then `tailFrames` more.
    juce::Result render (juce::int64 tailFrames, const Sink& sink, const juce::String& sinkFailure);

    // The whole input and then its whole tail, as far as WholeTailRule
    // says. Says how many frames of tail were written, whether the longest
    // was reached, and how far below its peak the output ended.
    struct WholeTail : WholeTailRule::Settings
    {
        juce::int64 written = 0;
        bool cut = false;
        double endBelowPeakDb = 0.0;
    };
    juce::Result renderWholeTail (WholeTail& tail, const Sink& sink, const juce::String& sinkFailure);

private:
    NadrixAudioProcessor& processor;
    InputSignal& input;
    const int blockSize;
    const bool showProgress;
    juce::int64 expectedFrames = -1; // for the progress bar of a run with no end given
    juce::Result preparation { juce::Result::ok() };
};
} // namespace nadrix
