// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

namespace nadrix
{
// Memory for a ring of samples. The ring's whole capacity is reserved as
// address space and reads as silence, but memory backs only what is
// populated: a reverb whose lines are short uses little, at any rate.
//
// The audio thread must not take the fault of a page's first touch, so
// whoever sets a line's length off the audio thread populates what that
// length uses before the audio thread can run it.
float* RingMemory_Create (int32_t capacity);
void RingMemory_Destroy (float* ring, int32_t capacity);

// Backs samples [from, to) of the ring with memory without changing what
// they hold. Any thread, also while the audio thread runs the ring (nothing
// is written). Where the system cannot populate without writing, rings are
// backed whole at creation instead and this does nothing.
void RingMemory_Populate (float* ring, int32_t from, int32_t to);

// For offline rendering only, where no audio thread waits: populating does
// nothing from then on in this process, and pages are mapped when the lines
// first use them.
void RingMemory_Map_Pages_On_First_Use();
} // namespace nadrix
