// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/LineKernel.h"

namespace nadrix
{
// The entry points of each compiled variant of the line pass, for the
// dispatch in LineKernel.cpp only.
#define LINE_KERNEL_DECLARE_VARIANT(variant)                                                                                     \
    void LineKernel_Run_Lines_##variant (const LineKernelChunk*, const LineKernelLine*, int32_t, float*, float*);                   \
    void LineKernel_Run_Line_##variant (const LineKernelChunk*, const LineKernelLine*, float*);                                     \
    void LineKernel_Sum_Lines_##variant (const float* const*, const LineKernelLine*, int32_t, int32_t, int32_t, float*, float*);

LINE_KERNEL_DECLARE_VARIANT (generic)
#if NADRIX_KERNEL_X86
LINE_KERNEL_DECLARE_VARIANT (avx2)
LINE_KERNEL_DECLARE_VARIANT (avx512)
#endif
} // namespace nadrix
