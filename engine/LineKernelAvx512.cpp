// SPDX-License-Identifier: GPL-3.0-or-later
// The line pass for x86-64 with AVX-512F (compiled with -mavx512f; chosen at run time).
#define LINE_KERNEL_VARIANT avx512
#include "engine/LineKernelPass.h"

namespace nadrix
{
} // namespace nadrix
