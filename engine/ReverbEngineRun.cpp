// SPDX-License-Identifier: GPL-3.0-or-later
// The audio thread's run of a block: the three-band split, the lines, the
// dry/wet crossfade, in chunks of chunkFrames.
#include "engine/ReverbEngine.h"

#include <algorithm>
#include <cmath>

namespace nadrix
{
namespace
{
    constexpr auto relaxed = std::memory_order_relaxed;

    float crossfadeGain (float share)
    {
        // The angle is formed in double from the float share and rounded to float for cosf.
        return std::cos ((float) ((double) share * M_PI * 0.5));
    }
}

// The engine's own steps before and after the lines, for lines shared between threads.
struct ReverbEngine::SharedStages final : SharedLineRun::Stages
{
    SharedStages (ReverbEngine& e, const BlockGains& g) : engine (e), gains (g) {}
    void split (const StereoBlock& block, int32_t numFrames, const Signals& to) override { engine.split (block, numFrames, gains, to); }
    void mix (const StereoBlock& block, int32_t first, int32_t end, const Signals& from) override { mixInto (block, first, end, gains, from); }

    ReverbEngine& engine;
    const BlockGains& gains;
};

void ReverbEngine::process (const float* inLeft, const float* inRight, float* outLeft, float* outRight, int numFrames)
{
    takeOverRequests();

    const auto frames = (int32_t) numFrames;
    if (frames <= 0)
        return;

    // Lines without memory are not run: the dry signal goes on as it came.
    if (! lines->hasMemory())
    {
        if (outLeft != inLeft)
            std::copy (inLeft, inLeft + frames, outLeft);
        if (outRight != inRight)
            std::copy (inRight, inRight + frames, outRight);
        return;
    }

    const BlockGains gains = gainsForBlock();
    const StereoBlock block { inLeft, inRight, outLeft, outRight };

    if (sharedRun != nullptr)
    {
        SharedStages stages (*this, gains);
        sharedRun->process (block, frames, runningLines, numRunning, stages);
        return;
    }

    for (int32_t start = 0; start < frames; start += chunkFrames)
        processChunk (block.from (start), std::min (chunkFrames, frames - start), gains);
}

void ReverbEngine::useWorkers (LineWorkers* workers)
{
    sharedRun = workers != nullptr ? std::make_unique<SharedLineRun> (*workers) : nullptr;
}

ReverbEngine::BlockGains ReverbEngine::gainsForBlock()
{
    const float m = settings.mix.load (relaxed);
    if (! (m == crossfadeMix)) // the cosines only when the mix has changed
    {
        dryGain = crossfadeGain (m);
        wetGain = crossfadeGain (1.0f - m);
        crossfadeMix = m;
    }

    BlockGains g;
    g.low = (double) settings.gainLow.load (relaxed);
    g.mid = (double) settings.gainMid.load (relaxed);
    g.high = (double) settings.gainHigh.load (relaxed);
    g.dry = dryGain;
    g.wet = wetGain;
    g.norm = (float) ((double) (2 + countedLines) * 0.7); // formed in double, used as float
    return g;
}

void ReverbEngine::processChunk (const StereoBlock& block, int32_t numFrames, const BlockGains& gains)
{
    const Signals signals { highWeighted, lowMid, accLeft, accRight };
    split (block, numFrames, gains, signals);
    const LineKernelChunk chunk { highWeighted, lowMid, numFrames };
    LineKernel_Run_Lines (&chunk, runningLines, numRunning, accLeft, accRight);
    mixInto (block, 0, numFrames, gains, signals);
}

void ReverbEngine::split (const StereoBlock& block, int32_t numFrames, const BlockGains& gains, const Signals& to)
{
    // On a local copy, so that the poles stay in registers from frame to frame.
    ThreeBandState state = splitter;
    for (int32_t i = 0; i < numFrames; ++i)
    {
        const auto x = (double) ((block.inLeft[i] + block.inRight[i]) * 0.7f); // mono sum formed in float
        double low, mid, high;
        ThreeBandState_Split (&state, &low, &mid, &high, x);

        to.highWeighted[i] = gains.high * high;
        to.lowMid[i] = (float) (gains.low * low + gains.mid * mid); // rounded to float, widened again per line
        to.accLeft[i] = 0.0f;
        to.accRight[i] = 0.0f;
    }
    splitter = state;
}

void ReverbEngine::mixInto (const StereoBlock& block, int32_t first, int32_t end, const BlockGains& gains, const Signals& from)
{
    for (int32_t i = first; i < end; ++i)
    {
        // Both inputs are read before either output is written: a mono
        // input may come in as one buffer for both sides, in place.
        const float dryLeft = block.inLeft[i], dryRight = block.inRight[i];
        const float wetLeft = from.accLeft[i] / gains.norm;
        const float wetRight = from.accRight[i] / gains.norm;
        block.outLeft[i] = dryLeft * gains.dry + wetLeft * gains.wet;
        block.outRight[i] = dryRight * gains.dry + wetRight * gains.wet;
    }
}
} // namespace nadrix
