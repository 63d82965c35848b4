// SPDX-License-Identifier: GPL-3.0-or-later
// The line pass for x86-64 with AVX2 (compiled with -mavx2; chosen at run time).
#define LINE_KERNEL_VARIANT avx2
#include "engine/LineKernelPass.h"

namespace nadrix
{
} // namespace nadrix
