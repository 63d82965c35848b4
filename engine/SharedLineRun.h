// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/LineKernel.h"
#include "engine/LineWorkers.h"
#include "engine/StereoBlock.h"

#include <atomic>
#include <memory>
#include <vector>

namespace nadrix
{
// The lines of an offline render shared between worker threads, with the
// output of one thread to the bit. The lines are cut into one range per
// thread, in line order. Chunk by chunk of each stretch of frames, thread 0
// adds its lines straight to the sums; every other thread runs its lines
// into buffers of its own and, once the thread before it has added its
// lines for that chunk, adds them to the sums in line order; the last one
// mixes the chunk. Thread 0 then splits the next stretch's input into bands.
// Only the sums cross between cores.
class SharedLineRun
{
public:
    // Where a stretch keeps its band mix and its sums.
    struct Signals
    {
        double* highWeighted;
        float* lowMid;
        float* accLeft;
        float* accRight;
    };

    // What the engine does before and after the lines: the split of the
    // input into bands (which also clears the sums), and the mix of the sums
    // with the dry signal for a range of frames.
    struct Stages
    {
        virtual ~Stages() = default;
        virtual void split (const StereoBlock& block, int32_t numFrames, const Signals& to) = 0;
        virtual void mix (const StereoBlock& block, int32_t first, int32_t end, const Signals& from) = 0;
    };

    explicit SharedLineRun (LineWorkers& workers);

    // Runs numFrames of the block through the lines.
    void process (const StereoBlock& block, int32_t numFrames, const LineKernelLine* lines, int32_t numLines, Stages& stages);

    // Frames the threads share between two meetings.
    static constexpr int32_t stretchFrames = 2048;

private:
    struct Stretch;
    static void runStretch (void* stretch, int thread);

    LineWorkers& workers;
    std::vector<double> high[2];
    std::vector<float> lowMid[2], left[2], right[2];
    std::vector<float> outputs;
    std::vector<float*> lineOutputs;
    std::unique_ptr<std::atomic<int32_t>[]> chunksSummed; // per thread: the chunks of this stretch it has added to the sums
};
} // namespace nadrix
