// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

namespace nadrix
{
// A feedback comb: the input delayed by `length` samples plus `feedback`
// times the output `length` samples ago. Times are in seconds, lengths in
// samples; the ring holds half a second.
struct DelayLine
{
    float* buffer;
    float feedback;
    int32_t length;
    int32_t position;
    int32_t capacity;
    float sampleRate;
};

constexpr float DelayLine_longestSeconds = 0.5f; // what the ring holds

DelayLine* DelayLine_Create();
void DelayLine_Init (DelayLine* line, float time, float sampleRate, float feedback);
float DelayLine_Process (DelayLine* line, float x);
void DelayLine_Process_Block (DelayLine* line, const float* in, float* out, int32_t numSamples);
void DelayLine_Set_Feedback (DelayLine* line, float feedback);
void DelayLine_Set_Time (DelayLine* line, float seconds);
float DelayLine_Get_Time (const DelayLine* line);
int32_t DelayLine_Length_For_Time (const DelayLine* line, float seconds);
float DelayLine_Time_For_Length (const DelayLine* line, int32_t length);
int32_t DelayLine_Length_At_Rate (float seconds, float sampleRate);
float DelayLine_Time_At_Rate (int32_t length, float sampleRate);
void DelayLine_Reset_Length (DelayLine* line, int32_t length);
void DelayLine_Restart (DelayLine* line);
void DelayLine_Destroy (DelayLine* line);
} // namespace nadrix
