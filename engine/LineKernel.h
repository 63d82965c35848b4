// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/DelayLine.h"
#include "engine/ModLine.h"

#include <cstdint>

namespace nadrix
{
// One pass of a running line over a chunk: the input gain on the chunk's
// band mix, the comb, the pre-delay and the pan, fused so that each frame's
// values stay in registers. Every float and double step is the one the
// separate primitives take, in the same order, and the sums over lines take
// the lines in index order for every frame, so the output is the same to
// the bit.
//
// The pass is compiled for several instruction sets; the best one the
// machine has runs unless LineKernel_Use chooses another. No variant
// contracts a multiply and an add, so all give the same bits.

// What every line of a chunk reads.
struct LineKernelChunk
{
    const double* highWeighted;  // the high band times its gain, per frame
    const float* lowMid;         // the low and mid bands times their gains, per frame
    int32_t numFrames;           // at most LineKernel_maxFrames
};

// One running line as the chunk sees it.
struct LineKernelLine
{
    DelayLine* comb;
    ModLine* predelay;
    double inputGain;            // the pre-delay gain
    double highShare;            // the high-cut share of the high band
    float left, right;           // the pan gains
    bool unmodulated;            // ModLine_Reads_Unmodulated, which holds for good once it holds
};

constexpr int32_t LineKernel_maxFrames = 256;

// Runs the lines in order, each adding its panned output to the sums.
void LineKernel_Run_Lines (const LineKernelChunk* chunk, const LineKernelLine* lines, int32_t numLines,
                           float* accLeft, float* accRight);

// The same in two halves, so that lines can run on several threads: one
// line into its own buffer, then the sums over a range of frames (firstFrame
// up to endFrame) of such buffers, lines in order, as LineKernel_Run_Lines
// would have added them.
void LineKernel_Run_Line (const LineKernelChunk* chunk, const LineKernelLine* line, float* out);
void LineKernel_Sum_Lines (const float* const* outs, const LineKernelLine* lines, int32_t numLines, int32_t firstFrame,
                           int32_t endFrame, float* accLeft, float* accRight);

enum class LineKernelVariant
{
    generic,  // any machine: the compiler's baseline for the target
    avx2,     // x86-64 with AVX2
    avx512    // x86-64 with AVX-512F
};

bool LineKernel_Supports (LineKernelVariant variant);
// Chooses the variant the functions above run (tests and benchmarks compare
// them); ignored for a variant the machine cannot run. Not while another
// thread runs the kernel.
void LineKernel_Use (LineKernelVariant variant);
LineKernelVariant LineKernel_In_Use();
} // namespace nadrix
