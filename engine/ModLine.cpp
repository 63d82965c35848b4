#include "ModLine.h"

#include <cstdlib>

namespace
{
    int32_t wrapped (int32_t index, int32_t length)
    {
        return index < length ? index : index % length;
    }

    uint32_t nextPhase (uint32_t phase, float increment)
    {
        // The sum is formed in float and truncated to 64 bits; the phase keeps the low 32.
        return (uint32_t) (int64_t) ((float) phase + increment);
    }

    int32_t tapIndex (const ModLine* line, float sine, int32_t readIndex)
    {
        const float position = sine + (float) readIndex;
        return (int32_t) ((float) line->length + position) % line->length;
    }
}

ModLine* ModLine_Create()
{
    return static_cast<ModLine*> (std::malloc (sizeof (ModLine)));
}

void ModLine_Init (ModLine* line, float depth, float rate, float predelay, float sampleRate)
{
    if (sampleRate < 44000.0f)
        sampleRate = 44100.0f;
    if (sampleRate > 200000.0f)
        sampleRate = 192000.0f;

    line->sampleRate = sampleRate;
    line->length = ModLine_Length_For_Predelay (line, predelay);
    line->capacity = (int32_t) (100.0f + sampleRate);
    line->buffer = static_cast<float*> (std::calloc ((size_t) line->capacity, sizeof (float)));
    line->depth = depth;
    line->rate = rate;
    line->phase = 0;
    line->writeIndex = 0;
    line->readIndex = (int32_t) ((double) line->length * 0.5);
    Sinus_Init (line->sineTable, depth, 0.0f);
    line->phaseIncrement = rate / sampleRate * 4096.0f;
}

float ModLine_Process (ModLine* line, float x)
{
    line->writeIndex = (line->writeIndex + 1) % line->length;
    line->readIndex = (line->readIndex + 1) % line->length;
    const int32_t tap = tapIndex (line, Sinus_Get_Value (line->sineTable, (int32_t) line->phase), line->readIndex);
    line->phase = nextPhase (line->phase, line->phaseIncrement);
    line->buffer[line->writeIndex] = x;
    return line->buffer[tap];
}

void ModLine_Process_Block (ModLine* line, const float* in, float* out, int32_t numSamples)
{
    const float sine = Sinus_Get_Value (line->sineTable, (int32_t) line->phase);
    const bool phaseHolds = nextPhase (line->phase, line->phaseIncrement) == line->phase;

    // With the phase standing still on a zero of the table (always so for the
    // engine's slow rates) the tap is the read index itself: both are whole
    // numbers below 2^24, so the float steps are exact.
    if (! (phaseHolds && sine == 0.0f))
    {
        for (int32_t i = 0; i < numSamples; ++i)
            out[i] = ModLine_Process (line, in[i]);
        return;
    }

    float* const buffer = line->buffer;
    const int32_t length = line->length;
    int32_t writeIndex = line->writeIndex;
    int32_t readIndex = line->readIndex;

    for (int32_t i = 0; i < numSamples; ++i)
    {
        writeIndex = wrapped (writeIndex + 1, length);
        readIndex = wrapped (readIndex + 1, length);
        buffer[writeIndex] = in[i];
        out[i] = buffer[readIndex];
    }

    line->writeIndex = writeIndex;
    line->readIndex = readIndex;
}

void ModLine_Set_Predelay (ModLine* line, float seconds)
{
    line->length = ModLine_Length_For_Predelay (line, seconds);
}

float ModLine_Get_Predelay (const ModLine* line)
{
    return ModLine_Predelay_For_Length (line, line->length);
}

int32_t ModLine_Length_For_Predelay (const ModLine* line, float seconds)
{
    // Capped at one second so the ring always fits; a negative (or not a
    // number) pre-delay runs as none, so the length never drops below 100.
    if (! (seconds >= 0.0f))
        seconds = 0.0f;
    if (seconds > 1.0f)
        seconds = 1.0f;

    return (int32_t) (seconds * line->sampleRate + 100.0f);
}

float ModLine_Predelay_For_Length (const ModLine* line, int32_t length)
{
    return ((float) length - 100.0f) / line->sampleRate;
}

void ModLine_Destroy (ModLine* line)
{
    std::free (line->buffer);
    std::free (line);
}
