// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/Sinus.h"

#include <cstdint>

namespace nadrix
{
// A pre-delay whose read position is offset by a sine table. The ring holds
// one second plus 100 samples; pre-delays are in seconds (capped at 1 s),
// depth in samples, rate in Hz.
struct ModLine
{
    float* buffer;
    float depth;
    float rate;
    float sampleRate;
    uint32_t phase;
    float phaseIncrement;
    int32_t length;
    int32_t capacity;
    int32_t writeIndex;
    int32_t readIndex;
    int32_t usedLength;  // the longest length since the ring was last silent: slots beyond it are silent still
    float sineTable[Sinus_tableSize];
};

ModLine* ModLine_Create();
void ModLine_Init (ModLine* line, float depth, float rate, float predelay, float sampleRate);
float ModLine_Process (ModLine* line, float x);
void ModLine_Process_Block (ModLine* line, const float* in, float* out, int32_t numSamples);
void ModLine_Set_Predelay (ModLine* line, float seconds);
void ModLine_Restart (ModLine* line, float initialPredelay);
float ModLine_Get_Predelay (const ModLine* line);
int32_t ModLine_Length_For_Predelay (const ModLine* line, float seconds);
float ModLine_Predelay_For_Length (const ModLine* line, int32_t length);
// The lowest rate the engine runs at as it is: below it (a host that has not
// said its rate yet) the engine runs on a 44.1 kHz time base.
constexpr float ModLine_lowestRate = 8000.0f;
// Below this rate, the phase steps of the engine's modulation rates
// are those of this rate (see ModLine_Init).
constexpr float ModLine_unmodulatedRate = 44100.0f;
float ModLine_Clamped_Rate (float sampleRate);
int32_t ModLine_Length_At_Rate (float seconds, float clampedRate);
float ModLine_Predelay_At_Rate (int32_t length, float clampedRate);
// The distance (in this line's samples) between the write and read positions
// of a fresh line at the reference rate made with initialPredelay and given
// predelay: how far behind its input a line of that pre-delay reads.
int32_t ModLine_Fresh_Distance (const ModLine* line, float initialPredelay, float predelay, float referenceRate);
// A fresh line (silent) put at that distance.
void ModLine_Match_Fresh_Delay (ModLine* line, float initialPredelay, float predelay, float referenceRate);
// A running line whose length has just changed from lengthBefore reads on
// `distance` behind its input, from what it holds of its own most recent
// input, in order; input older than it held (its old length) reads as
// silence. What it reads so depends only on its input, never on where its
// positions stood or on slots left from longer lengths before.
void ModLine_Keep_Recent_Input (ModLine* line, int32_t lengthBefore, int32_t distance);
void ModLine_Destroy (ModLine* line);

// The phase after one more sample: the sum is formed in float and truncated
// to 64 bits; the phase keeps the low 32.
inline uint32_t ModLine_Next_Phase (uint32_t phase, float increment)
{
    return (uint32_t) (int64_t) ((float) phase + increment);
}

// Whether the tap is the read index itself: the phase stands still on a zero
// of the sine table (always so for the engine's slow rates). Both indices are
// whole numbers below 2^24, so the tap's float steps are then exact and the
// pre-delay is a plain delay.
inline bool ModLine_Reads_Unmodulated (const ModLine* line)
{
    return ModLine_Next_Phase (line->phase, line->phaseIncrement) == line->phase
        && line->sineTable[line->phase & (uint32_t) (Sinus_tableSize - 1)] == 0.0f;
}
} // namespace nadrix
