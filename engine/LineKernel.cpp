// SPDX-License-Identifier: GPL-3.0-or-later
// The portable variant of the line pass, and the choice between variants.
#define LINE_KERNEL_VARIANT generic
#include "engine/LineKernelPass.h"

#include "engine/LineKernelVariants.h"

#include <initializer_list>

namespace nadrix
{
namespace
{
    struct Entries
    {
        decltype (&LineKernel_Run_Lines_generic) runLines;
        decltype (&LineKernel_Run_Line_generic) runLine;
        decltype (&LineKernel_Sum_Lines_generic) sumLines;
    };

    constexpr Entries generic { LineKernel_Run_Lines_generic, LineKernel_Run_Line_generic, LineKernel_Sum_Lines_generic };
#if NADRIX_KERNEL_X86
    constexpr Entries avx2 { LineKernel_Run_Lines_avx2, LineKernel_Run_Line_avx2, LineKernel_Sum_Lines_avx2 };
    constexpr Entries avx512 { LineKernel_Run_Lines_avx512, LineKernel_Run_Line_avx512, LineKernel_Sum_Lines_avx512 };
#endif

    const Entries& entriesFor (LineKernelVariant variant)
    {
#if NADRIX_KERNEL_X86
        if (variant == LineKernelVariant::avx512)
            return avx512;
        if (variant == LineKernelVariant::avx2)
            return avx2;
#endif
        (void) variant;
        return generic;
    }

    LineKernelVariant bestVariant()
    {
        for (auto v : { LineKernelVariant::avx512, LineKernelVariant::avx2 })
            if (LineKernel_Supports (v))
                return v;
        return LineKernelVariant::generic;
    }

    LineKernelVariant inUse = bestVariant();
    const Entries* entries = &entriesFor (inUse);
}

bool LineKernel_Supports (LineKernelVariant variant)
{
#if NADRIX_KERNEL_X86
    __builtin_cpu_init(); // may run before the C library has set up its own view of the processor
#endif
    switch (variant)
    {
#if NADRIX_KERNEL_X86
        case LineKernelVariant::avx512: return __builtin_cpu_supports ("avx512f");
        case LineKernelVariant::avx2:   return __builtin_cpu_supports ("avx2");
#endif
        case LineKernelVariant::generic: return true;
        default: return false;
    }
}

void LineKernel_Use (LineKernelVariant variant)
{
    if (! LineKernel_Supports (variant))
        return;
    inUse = variant;
    entries = &entriesFor (variant);
}

LineKernelVariant LineKernel_In_Use() { return inUse; }

void LineKernel_Run_Lines (const LineKernelChunk* chunk, const LineKernelLine* lines, int32_t numLines, float* accLeft, float* accRight)
{
    entries->runLines (chunk, lines, numLines, accLeft, accRight);
}

void LineKernel_Run_Line (const LineKernelChunk* chunk, const LineKernelLine* line, float* out)
{
    entries->runLine (chunk, line, out);
}

void LineKernel_Sum_Lines (const float* const* outs, const LineKernelLine* lines, int32_t numLines, int32_t firstFrame, int32_t endFrame,
                           float* accLeft, float* accRight)
{
    entries->sumLines (outs, lines, numLines, firstFrame, endFrame, accLeft, accRight);
}
} // namespace nadrix
