// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/SharedLineRun.h"

#include <algorithm>
#include <thread>

namespace nadrix
{
namespace
{
    constexpr int32_t maxLines = 64;

    // The threads take the line ranges in this order, and add them to the
    // sums in this order: the helpers first, the caller's thread last (it
    // also mixes, and splits the next stretch meanwhile).
    int orderOf (int thread, int threads) { return thread == 0 ? threads - 1 : thread - 1; }

    // The first line of the range in this place of the order, and the end of
    // the last. The caller's thread splits (about as costly as twelve lines),
    // sums and mixes, so it takes fewer lines.
    int32_t rangeStart (int order, int threads, int32_t numLines)
    {
        if (order <= 0)
            return 0;
        if (order >= threads)
            return numLines;
        const int32_t last = std::clamp ((numLines - 18) / threads, int32_t { 0 }, numLines);
        return (numLines - last) * order / (threads - 1);
    }

    void waitUntilAtLeast (const std::atomic<int32_t>& value, int32_t wanted)
    {
        for (int spins = 0; value.load (std::memory_order_acquire) < wanted; ++spins)
            if (spins > 2000)
                std::this_thread::yield();
    }
}

struct SharedLineRun::Stretch
{
    SharedLineRun& run;
    Stages& stages;
    const LineKernelLine* lines;
    int32_t numLines;
    StereoBlock block;
    int32_t numFrames;
    Signals signals;
    bool hasNext;               // the stretch after this one, split meanwhile
    StereoBlock next;
    int32_t nextNumFrames;
    Signals nextSignals;
};

SharedLineRun::SharedLineRun (LineWorkers& w)
    : workers (w), lineOutputs ((size_t) maxLines), chunksSummed (new std::atomic<int32_t>[(size_t) w.getNumThreads()])
{
    for (int set = 0; set < 2; ++set)
    {
        high[set].resize ((size_t) stretchFrames);
        lowMid[set].resize ((size_t) stretchFrames);
        left[set].resize ((size_t) stretchFrames);
        right[set].resize ((size_t) stretchFrames);
    }
    outputs.resize ((size_t) maxLines * (size_t) stretchFrames);
    for (int32_t j = 0; j < maxLines; ++j)
        lineOutputs[(size_t) j] = outputs.data() + (size_t) j * (size_t) stretchFrames;
}

void SharedLineRun::process (const StereoBlock& block, int32_t numFrames, const LineKernelLine* lines, int32_t numLines, Stages& stages)
{
    auto signalsOf = [this] (int set) { return Signals { high[set].data(), lowMid[set].data(), left[set].data(), right[set].data() }; };
    numLines = std::min (numLines, maxLines);

    stages.split (block, std::min (stretchFrames, numFrames), signalsOf (0));
    for (int32_t start = 0, set = 0; start < numFrames; start += stretchFrames, set = 1 - set)
    {
        const int32_t n = std::min (stretchFrames, numFrames - start);
        const int32_t nextStart = start + n;
        Stretch s { *this, stages, lines, numLines, block.from (start), n, signalsOf (set),
                    nextStart < numFrames, block.from (nextStart), std::min (stretchFrames, numFrames - nextStart), signalsOf (1 - set) };
        for (int t = 0; t < workers.getNumThreads(); ++t)
            chunksSummed[(size_t) t].store (0, std::memory_order_relaxed);
        workers.run (&SharedLineRun::runStretch, &s);
    }
}

void SharedLineRun::runStretch (void* context, int thread)
{
    const auto& s = *static_cast<const Stretch*> (context);
    auto& run = s.run;
    const int threads = run.workers.getNumThreads();
    const int order = orderOf (thread, threads);
    const int32_t first = rangeStart (order, threads, s.numLines), end = rangeStart (order + 1, threads, s.numLines);

    // The next stretch's bands first: meanwhile the helpers run ahead on this one.
    if (thread == 0 && s.hasNext)
        s.stages.split (s.next, s.nextNumFrames, s.nextSignals);

    // Chunk by chunk, so that each thread follows the one before it closely:
    // a chunk's sums take the ranges in order, so every frame's sums take the
    // lines in index order.
    for (int32_t c = 0, start = 0; start < s.numFrames; ++c, start += LineKernel_maxFrames)
    {
        const int32_t n = std::min (LineKernel_maxFrames, s.numFrames - start);
        const LineKernelChunk chunk { s.signals.highWeighted + start, s.signals.lowMid + start, n };

        if (order == 0)
        {
            LineKernel_Run_Lines (&chunk, s.lines + first, end - first, s.signals.accLeft + start, s.signals.accRight + start);
        }
        else
        {
            for (int32_t k = first; k < end; ++k)
                LineKernel_Run_Line (&chunk, s.lines + k, run.lineOutputs[(size_t) k] + start);
            waitUntilAtLeast (run.chunksSummed[(size_t) order - 1], c + 1);
            LineKernel_Sum_Lines (run.lineOutputs.data() + first, s.lines + first, end - first, start, start + n, s.signals.accLeft,
                                  s.signals.accRight);
        }
        if (order == threads - 1)
            s.stages.mix (s.block, start, start + n, s.signals);
        run.chunksSummed[(size_t) order].store (c + 1, std::memory_order_release);
    }

}
} // namespace nadrix
