// SPDX-License-Identifier: GPL-3.0-or-later
// The line pass itself, included by each file that compiles it for one
// instruction set (LineKernel.cpp for any machine, LineKernelAvx2.cpp and
// LineKernelAvx512.cpp for x86-64). Everything here has internal linkage and
// calls nothing inline from outside, so no variant's code can stand in for
// another's at link time. LINE_KERNEL_VARIANT names the entry points.
#include "engine/LineKernel.h"

namespace nadrix
{
#define NADRIX_INLINE inline __attribute__ ((always_inline))
#define LINE_KERNEL_NAME_2(name, variant) name##_##variant
#define LINE_KERNEL_NAME_1(name, variant) LINE_KERNEL_NAME_2 (name, variant)
#define LINE_KERNEL_NAME(name) LINE_KERNEL_NAME_1 (name, LINE_KERNEL_VARIANT)

namespace
{
    // The next index of a ring, also for an index a shortened ring left beyond its end.
    NADRIX_INLINE int32_t smaller (int32_t a, int32_t b) { return b < a ? b : a; }

    NADRIX_INLINE int32_t nextIndex (int32_t index, int32_t length)
    {
        const int32_t next = index + 1;
        return next < length ? next : next % length;
    }

    // Where a pass leaves the line's output: added, panned, to the sums, or
    // kept as it is for a later sum.
    struct Panned
    {
        float* __restrict left;
        float* __restrict right;
        float leftGain, rightGain;
        NADRIX_INLINE void take (int32_t i, float o) const
        {
            left[i] += o * leftGain;
            right[i] += o * rightGain;
        }
        NADRIX_INLINE Panned from (int32_t offset) const { return { left + offset, right + offset, leftGain, rightGain }; }
    };

    struct Unpanned
    {
        float* __restrict out;
        NADRIX_INLINE void take (int32_t i, float o) const { out[i] = o; }
        NADRIX_INLINE Unpanned from (int32_t offset) const { return { out + offset }; }
    };

    // One stretch in which neither ring wraps and the pre-delay's write and
    // read slots are different: every frame touches slots of its own, so the
    // loop vectorises without changing any step (each lane takes its frame's
    // steps; nothing is summed across lanes).
    template <typename Sink>
    NADRIX_INLINE void fusedRun (const double* __restrict highWeighted, const float* __restrict lowMid, double inputGain,
                                 double highShare, float* __restrict comb, float feedback, float* __restrict predelayWrite,
                                 const float* __restrict predelayRead, Sink sink, int32_t count)
    {
        for (int32_t i = 0; i < count; ++i)
        {
            const auto x = (float) (inputGain * (highShare * highWeighted[i] + (double) lowMid[i]));
            const float y = comb[i];
            comb[i] = feedback * y + x;
            predelayWrite[i] = y;
            sink.take (i, predelayRead[i]);
        }
    }

    // The same with the pre-delay reading the slot it has just written: its
    // output is its input. (Written out again rather than shared with the
    // loop above: with the steps in a helper the compiler's code for the
    // loop above came out slower.)
    template <typename Sink>
    NADRIX_INLINE void sameSlotRun (const double* highWeighted, const float* lowMid, double inputGain, double highShare,
                                    float* comb, float feedback, float* predelaySlots, Sink sink, int32_t count)
    {
        for (int32_t i = 0; i < count; ++i)
        {
            const auto x = (float) (inputGain * (highShare * highWeighted[i] + (double) lowMid[i]));
            const float y = comb[i];
            comb[i] = feedback * y + x;
            predelaySlots[i] = y;
            sink.take (i, predelaySlots[i]);
        }
    }

    // Sixteen frames of one channel: element-wise operations on it keep
    // every lane's rounding, whatever width the machine's vectors have.
    typedef float SumBlock __attribute__ ((vector_size (64)));
    constexpr int32_t sumBlockFrames = (int32_t) (sizeof (SumBlock) / sizeof (float));

    // Adds the panned outputs of the lines, in line order, to a block of
    // frames' sums (a SumBlock, or one frame).
    template <typename Block>
    NADRIX_INLINE void sumBlock (const float* const* outs, const LineKernelLine* lines, int32_t numLines, int32_t first,
                                 float* accLeft, float* accRight)
    {
        Block left, right, out;
        __builtin_memcpy (&left, accLeft + first, sizeof (Block));
        __builtin_memcpy (&right, accRight + first, sizeof (Block));
        for (int32_t j = 0; j < numLines; ++j)
        {
            __builtin_memcpy (&out, outs[j] + first, sizeof (Block));
            left += out * lines[j].left;
            right += out * lines[j].right;
        }
        __builtin_memcpy (accLeft + first, &left, sizeof (Block));
        __builtin_memcpy (accRight + first, &right, sizeof (Block));
    }

    // A pre-delay whose tap moves with its sine: the primitives, step by
    // step. Never the engine's case; kept out of the pass so that its scratch
    // does not weigh on it.
    template <typename Sink>
    __attribute__ ((noinline, cold)) void modulatedLine (const LineKernelChunk& chunk, const LineKernelLine& line, Sink sink)
    {
        float lineIn[LineKernel_maxFrames] = {}, combOut[LineKernel_maxFrames] = {};
        const int32_t n = chunk.numFrames;
        for (int32_t i = 0; i < n; ++i)
            lineIn[i] = (float) (line.inputGain * (line.highShare * chunk.highWeighted[i] + (double) chunk.lowMid[i]));
        DelayLine_Process_Block (line.comb, lineIn, combOut, n);
        for (int32_t i = 0; i < n; ++i)
            sink.take (i, ModLine_Process (line.predelay, combOut[i]));
    }

    template <typename Sink>
    NADRIX_INLINE void runLine (const LineKernelChunk& chunk, const LineKernelLine& line, Sink sink)
    {
        if (! line.unmodulated)
            return modulatedLine (chunk, line, sink);

        DelayLine* const comb = line.comb;
        ModLine* const predelay = line.predelay;
        float* const combSlots = comb->buffer;
        const float feedback = comb->feedback;
        const int32_t combLength = comb->length;
        float* const predelaySlots = predelay->buffer;
        const int32_t predelayLength = predelay->length;
        int32_t position = comb->position, writeIndex = predelay->writeIndex, readIndex = predelay->readIndex;

        for (int32_t done = 0; done < chunk.numFrames;)
        {
            const int32_t slot = nextIndex (position, combLength);
            const int32_t write = nextIndex (writeIndex, predelayLength);
            const int32_t read = nextIndex (readIndex, predelayLength);
            int32_t run = smaller (smaller (chunk.numFrames - done, combLength - slot), smaller (predelayLength - write, predelayLength - read));

            if (write == read)
            {
                sameSlotRun (chunk.highWeighted + done, chunk.lowMid + done, line.inputGain, line.highShare, combSlots + slot, feedback,
                             predelaySlots + write, sink.from (done), run);
            }
            else
            {
                // A read that trails the write by d slots reads what was
                // written d frames earlier, one that leads by d reads what is
                // written d frames later: stretches of at most d frames never
                // read a slot they write.
                run = smaller (run, write > read ? write - read : read - write);
                fusedRun (chunk.highWeighted + done, chunk.lowMid + done, line.inputGain, line.highShare, combSlots + slot, feedback,
                          predelaySlots + write, predelaySlots + read, sink.from (done), run);
            }

            position = slot + run - 1;
            writeIndex = write + run - 1;
            readIndex = read + run - 1;
            done += run;
        }

        comb->position = position;
        predelay->writeIndex = writeIndex;
        predelay->readIndex = readIndex;
    }
}


void LINE_KERNEL_NAME (LineKernel_Run_Lines) (const LineKernelChunk* chunk, const LineKernelLine* lines, int32_t numLines,
                                             float* accLeft, float* accRight)
{
    // Line after line, each adding to the sums: every frame's sums take the lines in index order.
    for (int32_t j = 0; j < numLines; ++j)
        runLine (*chunk, lines[j], Panned { accLeft, accRight, lines[j].left, lines[j].right });
}

void LINE_KERNEL_NAME (LineKernel_Run_Line) (const LineKernelChunk* chunk, const LineKernelLine* line, float* out)
{
    runLine (*chunk, *line, Unpanned { out });
}

void LINE_KERNEL_NAME (LineKernel_Sum_Lines) (const float* const* outs, const LineKernelLine* lines, int32_t numLines,
                                             int32_t firstFrame, int32_t endFrame, float* accLeft, float* accRight)
{
    // Sixteen frames at a time, their sums held in registers over all the lines.
    int32_t i = firstFrame;
    for (; i + sumBlockFrames <= endFrame; i += sumBlockFrames)
        sumBlock<SumBlock> (outs, lines, numLines, i, accLeft, accRight);
    for (; i < endFrame; ++i)
        sumBlock<float> (outs, lines, numLines, i, accLeft, accRight);
}
} // namespace nadrix
