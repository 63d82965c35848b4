// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/nadrix-render/Renderer.h"

#include "tools/nadrix-render/ProgressBar.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace nadrix
{
namespace
{
    // Lines shared between threads meet once per stretch of frames; a block
    // of many stretches lets one thread split the next stretch while the
    // others run the current one. The output is the same for any block size.
    constexpr int sharedBlockFrames = 32768;

    constexpr juce::int64 endless = std::numeric_limits<juce::int64>::max() / 2;
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
    if (! processor.hasLineMemory())
        preparation = juce::Result::fail ("there is not enough memory for the reverb's delay lines");
}

Renderer::~Renderer()
{
    processor.releaseResources();
}

juce::Result Renderer::run (juce::int64 frames, const Sink& sink, const juce::String& sinkFailure, const std::function<bool()>& finished)
{
    if (preparation.failed())
        return preparation;

    juce::AudioBuffer<float> buffer (2, blockSize);
    juce::MidiBuffer midi;
    // Of a stream, whose length is not known, no bar is shown.
    const auto expected = frames < endless ? frames : expectedFrames;
    ProgressBar progress (juce::jmax ((juce::int64) 0, expected));

    for (juce::int64 done = 0; done < frames;)
    {
        const int n = (int) juce::jmin ((juce::int64) blockSize, frames - done);
        buffer.clear();
        input.readNext (buffer, n);

        juce::AudioBuffer<float> block (buffer.getArrayOfWritePointers(), 2, 0, n);
        processor.processBlock (block, midi);
        done += n;

        if (! sink (block))
            return juce::Result::fail (sinkFailure);

        if (showProgress && expected > 0)
            progress.update (done);
        if (finished && finished())
            break;
    }
    return juce::Result::ok();
}

juce::Result Renderer::render (juce::int64 tailFrames, const Sink& sink, const juce::String& sinkFailure)
{
    // The input (however long a stream turns out) and then the tail: the
    // total is known once the input has ended, and the block that passes it
    // is cut there.
    expectedFrames = input.getLength() >= 0 ? input.getLength() + tailFrames : -1;
    juce::int64 written = 0, total = -1;
    const auto upToTotal = [&] (const juce::AudioBuffer<float>& block) {
        if (total < 0 && input.hasEnded())
            total = input.getFramesRead() + tailFrames;
        const int n = total < 0 ? block.getNumSamples() : (int) juce::jmin ((juce::int64) block.getNumSamples(), total - written);
        written += n;
        return sink (juce::AudioBuffer<float> (const_cast<float* const*> (block.getArrayOfReadPointers()), 2, 0, n));
    };
    return run (endless, upToTotal, sinkFailure, [&] { return total >= 0 && written >= total; });
}

juce::Result Renderer::renderWholeTail (WholeTail& tail, const Sink& sink, const juce::String& sinkFailure)
{
    const double rate = input.getSampleRate();
    WholeTailRule rule (tail, rate);

    // The bar goes by the tail the plug-in reports.
    expectedFrames = input.getLength() >= 0 ? input.getLength() + (juce::int64) (processor.getTailLengthSeconds() * rate) : -1;
    juce::int64 seen = 0;
    // The output ends at the frame the rule says, whatever the block size,
    // so every block size gives the same file.
    const auto keep = [&] (const juce::AudioBuffer<float>& block) {
        int kept = 0;
        while (kept < block.getNumSamples() && ! rule.ended())
        {
            const bool inTail = input.hasEnded() && seen >= input.getFramesRead();
            rule.add (std::max (std::abs (block.getSample (0, kept)), std::abs (block.getSample (1, kept))), inTail);
            ++kept;
            ++seen;
        }
        return sink (juce::AudioBuffer<float> (const_cast<float* const*> (block.getArrayOfReadPointers()), 2, 0, kept));
    };

    auto result = run (endless, keep, sinkFailure, [&] { return rule.ended(); });
    tail.written = rule.tailFrames();
    tail.cut = rule.cut();
    tail.endBelowPeakDb = rule.endBelowPeakDb();
    return result;
}
} // namespace nadrix
