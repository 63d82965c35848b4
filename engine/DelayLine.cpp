// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/DelayLine.h"

#include "engine/RingMemory.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace nadrix
{
namespace
{
    void combRun (float* __restrict slots, const float* __restrict in, float* __restrict out, float feedback, int32_t count)
    {
        for (int32_t i = 0; i < count; ++i)
        {
            const float y = slots[i];
            slots[i] = feedback * y + in[i];
            out[i] = y;
        }
    }
}

DelayLine* DelayLine_Create()
{
    // Zeroed, so that a line never initialised (its partner got no memory)
    // is destroyed safely: no ring to free.
    return static_cast<DelayLine*> (std::calloc (1, sizeof (DelayLine)));
}

void DelayLine_Init (DelayLine* line, float time, float sampleRate, float feedback)
{
    line->sampleRate = sampleRate;
    line->capacity = (int32_t) (sampleRate * DelayLine_longestSeconds);
    line->buffer = RingMemory_Create (line->capacity); // null when there is no memory: the owner checks
    line->feedback = feedback;
    line->length = DelayLine_Length_For_Time (line, time);
    line->position = 0;
}

float DelayLine_Process (DelayLine* line, float x)
{
    line->position = (line->position + 1) % line->length;
    const float y = line->buffer[line->position];
    line->buffer[line->position] = line->feedback * y + x;
    return y;
}

void DelayLine_Process_Block (DelayLine* line, const float* in, float* out, int32_t numSamples)
{
    // The same steps as DelayLine_Process, taken in runs that end where the
    // position wraps: within a run every sample touches its own slot, so the
    // loop needs no index arithmetic and the compiler may vectorise it.
    float* const buffer = line->buffer;
    const float feedback = line->feedback;
    const int32_t length = line->length;
    int32_t position = line->position;

    for (int32_t done = 0; done < numSamples;)
    {
        const int32_t first = (position + 1) % length; // also wraps a position left beyond a shortened line
        const int32_t run = std::min (numSamples - done, length - first);
        combRun (buffer + first, in + done, out + done, feedback, run);
        position = first + run - 1;
        done += run;
    }

    line->position = position;
}

void DelayLine_Set_Feedback (DelayLine* line, float feedback)
{
    line->feedback = feedback;
}

void DelayLine_Set_Time (DelayLine* line, float seconds)
{
    const int32_t length = DelayLine_Length_For_Time (line, seconds);

    if (length != line->length)
        DelayLine_Reset_Length (line, length);
}

float DelayLine_Get_Time (const DelayLine* line)
{
    return DelayLine_Time_For_Length (line, line->length);
}

int32_t DelayLine_Length_For_Time (const DelayLine* line, float seconds)
{
    return DelayLine_Length_At_Rate (seconds, line->sampleRate);
}

float DelayLine_Time_For_Length (const DelayLine* line, int32_t length)
{
    return DelayLine_Time_At_Rate (length, line->sampleRate);
}

int32_t DelayLine_Length_At_Rate (float seconds, float sampleRate)
{
    const float samples = seconds * sampleRate;
    const auto capacity = (int32_t) (sampleRate * DelayLine_longestSeconds);

    // Shorter than one sample (or not a number) would leave a ring of length
    // 0 to wrap by: such a time runs as one sample.
    if (! (samples >= 1.0f))
        return 1;

    if (samples >= (float) capacity)
        return capacity;

    return (int32_t) samples;
}

float DelayLine_Time_At_Rate (int32_t length, float sampleRate)
{
    return (float) length / sampleRate;
}

void DelayLine_Reset_Length (DelayLine* line, int32_t length)
{
    // Only the slots the new length reads: the position wraps below it, and
    // the next change of length clears again what that length reads. The
    // output is the same as with the whole ring cleared.
    std::memset (line->buffer, 0, sizeof (float) * (size_t) length);
    line->length = length;
}

void DelayLine_Restart (DelayLine* line)
{
    // As DelayLine_Init leaves a line: silent where it reads, position 0.
    std::memset (line->buffer, 0, sizeof (float) * (size_t) line->length);
    line->position = 0;
}

void DelayLine_Destroy (DelayLine* line)
{
    RingMemory_Destroy (line->buffer, line->capacity);
    std::free (line);
}
} // namespace nadrix
