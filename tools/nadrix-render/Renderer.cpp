// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/nadrix-render/Renderer.h"

#include "tools/nadrix-render/ProgressBar.h"

#include <algorithm>
#include <cmath>

namespace nadrix
{
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

juce::Result Renderer::run (juce::int64 frames, const Sink& sink, const juce::String& sinkFailure, const std::function<bool()>& finished)
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
        if (finished && finished())
            break;
    }

    return juce::Result::ok();
}

juce::Result Renderer::render (juce::int64 tailFrames, OutputFile& output)
{
    return run (input.getLength() + tailFrames,
                [&output] (const juce::AudioBuffer<float>& block) { return output.write (block, block.getNumSamples()); },
                "writing the output failed (disk full?)");
}

juce::Result Renderer::renderWholeTail (WholeTail& tail, OutputFile& output)
{
    const double rate = input.getSampleRate();
    const auto inputFrames = input.getLength();
    const auto longest = (juce::int64) std::ceil (tail.longestSeconds * rate);
    const auto quietNeeded = (juce::int64) std::ceil (tail.quietSeconds * rate);
    const auto gain = [] (double db) { return (float) std::pow (10.0, db / 20.0); };
    const float floor = gain (tail.floorDbfs), below = gain (tail.quietDb);

    float peak = 0.0f;
    juce::int64 seen = 0, quiet = 0;
    // The output ends at the frame where it has been quiet long enough,
    // whatever the block size, so every block size gives the same file.
    const auto sink = [&] (const juce::AudioBuffer<float>& block) {
        int kept = 0;
        while (kept < block.getNumSamples() && quiet < quietNeeded)
        {
            const float level = std::max (std::abs (block.getSample (0, kept)), std::abs (block.getSample (1, kept)));
            peak = std::max (peak, level);
            // Quiet counts only once the input is over: a pause in it is not the end.
            quiet = seen >= inputFrames && level <= std::min (floor, peak * below) ? quiet + 1 : 0;
            ++kept;
            ++seen;
        }
        return output.write (block, kept);
    };

    auto result = run (inputFrames + longest, sink, "writing the output failed (disk full?)", [&] { return quiet >= quietNeeded; });
    tail.written = seen - inputFrames;
    tail.cut = quiet < quietNeeded;
    return result;
}
} // namespace nadrix
