// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

// Memory for a ring of samples: zeroed, with every page touched at once, so
// that the audio thread never takes a page's first-touch fault (a zeroed
// block from the system is only mapped when it is first written).
float* RingMemory_Create (int32_t samples);
void RingMemory_Destroy (float* ring);

// For offline rendering only, where no audio thread waits: rings created
// from then on in this process leave their pages untouched, to be mapped
// when the lines first use them (most of a ring's capacity never is).
void RingMemory_Map_Pages_On_First_Use();
