// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace nadrix
{
// The monotonic clock of this test process, the loaded bundles' included:
// the C library's, plus whatever the test has stepped it forward by. Rules
// that count milliseconds inside a hosted plug-in (a program chosen within
// 200 ms of a restored state is dropped) are then met by stepping the clock,
// not by waiting for it. Linked into a test executable that exports
// clock_gettime, so that the bundles it loads call this one.
void stepMonotonicClock (int milliseconds);
} // namespace nadrix
