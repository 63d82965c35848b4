// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/ModLine.h"

#include "engine/RingMemory.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace nadrix
{
namespace
{
    int32_t wrapped (int32_t index, int32_t length)
    {
        return index < length ? index : index % length;
    }

    int32_t tapIndex (const ModLine* line, float sine, int32_t readIndex)
    {
        const float position = sine + (float) readIndex;
        return (int32_t) ((float) line->length + position) % line->length;
    }
}

namespace
{
    // The record in floats, for the memory it is made in.
    constexpr int32_t recordFloats = (int32_t) ((sizeof (ModLine) + sizeof (float) - 1) / sizeof (float));
}

ModLine* ModLine_Create()
{
    // Zeroed, so that a line never initialised (its partner got no memory)
    // is destroyed safely: no ring to free. Nearly all of the record is its
    // sine table, of which a line that never modulates (every line at 44.1
    // kHz and above) reads only the first entry: made as a ring's memory is,
    // only the pages touched are backed, one of the table's four.
    return reinterpret_cast<ModLine*> (RingMemory_Create (recordFloats));
}

void ModLine_Init (ModLine* line, float depth, float rate, float predelay, float sampleRate)
{
    sampleRate = ModLine_Clamped_Rate (sampleRate);

    line->sampleRate = sampleRate;
    line->length = ModLine_Length_For_Predelay (line, predelay);
    line->capacity = (int32_t) (100.0f + sampleRate);
    line->buffer = RingMemory_Create (line->capacity);
    line->depth = depth;
    line->rate = rate;
    line->phase = 0;
    line->writeIndex = 0;
    line->readIndex = (int32_t) ((double) line->length * 0.5);
    line->usedLength = line->length;
    // The phase moves by whole table steps (ModLine_Next_Phase truncates):
    // at 44.1 kHz and above no line's rate makes a step, and the pre-delays
    // run unmodulated. Below it the same rates would start to make steps, a
    // wobble of one step a sample (1.95 Hz at 8 kHz, whatever the line's
    // rate) that no other rate has, and that drew out the low bands' decay
    // there: the step is the one 44.1 kHz gives.
    line->phaseIncrement = rate / std::max (sampleRate, ModLine_unmodulatedRate) * 4096.0f;
    // A phase that can never leave 0 only ever reads the table's first entry:
    // the other 4095 sines are not worth computing (or touching).
    if (ModLine_Next_Phase (0, line->phaseIncrement) == 0)
        Sinus_Init_First (line->sineTable, depth, 0.0f, 1);
    else
        Sinus_Init (line->sineTable, depth, 0.0f);
}

float ModLine_Process (ModLine* line, float x)
{
    line->writeIndex = (line->writeIndex + 1) % line->length;
    line->readIndex = (line->readIndex + 1) % line->length;
    const int32_t tap = tapIndex (line, Sinus_Get_Value (line->sineTable, (int32_t) line->phase), line->readIndex);
    line->phase = ModLine_Next_Phase (line->phase, line->phaseIncrement);
    line->buffer[line->writeIndex] = x;
    return line->buffer[tap];
}

void ModLine_Process_Block (ModLine* line, const float* in, float* out, int32_t numSamples)
{
    if (! ModLine_Reads_Unmodulated (line))
    {
        for (int32_t i = 0; i < numSamples; ++i)
            out[i] = ModLine_Process (line, in[i]);
        return;
    }

    // Both indices advance together, so between wraps the line writes one run
    // of slots and reads another. When the read run starts at or behind the
    // write run, every slot they share is written before it is read; when it
    // starts ahead, every shared slot is read before it is written.
    float* const buffer = line->buffer;
    const int32_t length = line->length;
    int32_t writeIndex = line->writeIndex;
    int32_t readIndex = line->readIndex;

    for (int32_t done = 0; done < numSamples;)
    {
        const int32_t firstWrite = wrapped (writeIndex + 1, length);
        const int32_t firstRead = wrapped (readIndex + 1, length);
        const int32_t run = std::min ({ numSamples - done, length - firstWrite, length - firstRead });
        const auto bytes = sizeof (float) * (size_t) run;

        if (firstWrite >= firstRead)
        {
            std::memcpy (buffer + firstWrite, in + done, bytes);
            std::memcpy (out + done, buffer + firstRead, bytes);
        }
        else
        {
            std::memcpy (out + done, buffer + firstRead, bytes);
            std::memcpy (buffer + firstWrite, in + done, bytes);
        }

        writeIndex = firstWrite + run - 1;
        readIndex = firstRead + run - 1;
        done += run;
    }

    line->writeIndex = writeIndex;
    line->readIndex = readIndex;
}

void ModLine_Set_Predelay (ModLine* line, float seconds)
{
    line->length = ModLine_Length_For_Predelay (line, seconds);
    line->usedLength = std::max (line->usedLength, line->length);
}

void ModLine_Restart (ModLine* line, float initialPredelay)
{
    // As ModLine_Init left a line made with initialPredelay, at its current
    // length: silent wherever a later length could read, indices at the start.
    const int32_t initialLength = ModLine_Length_For_Predelay (line, initialPredelay);
    std::memset (line->buffer, 0, sizeof (float) * (size_t) line->usedLength);
    line->usedLength = std::max (initialLength, line->length);
    line->phase = 0;
    line->writeIndex = 0;
    line->readIndex = (int32_t) ((double) initialLength * 0.5);
}

float ModLine_Get_Predelay (const ModLine* line)
{
    return ModLine_Predelay_For_Length (line, line->length);
}

int32_t ModLine_Length_For_Predelay (const ModLine* line, float seconds)
{
    return ModLine_Length_At_Rate (seconds, line->sampleRate);
}

float ModLine_Predelay_For_Length (const ModLine* line, int32_t length)
{
    return ModLine_Predelay_At_Rate (length, line->sampleRate);
}

float ModLine_Clamped_Rate (float sampleRate)
{
    if (sampleRate < ModLine_lowestRate)
        sampleRate = 44100.0f;
    if (sampleRate > 200000.0f)
        sampleRate = 192000.0f;
    return sampleRate;
}

int32_t ModLine_Length_At_Rate (float seconds, float clampedRate)
{
    // Capped at one second so the ring always fits; a negative (or not a
    // number) pre-delay runs as none, so the length never drops below 100.
    if (! (seconds >= 0.0f))
        seconds = 0.0f;
    if (seconds > 1.0f)
        seconds = 1.0f;

    return (int32_t) (seconds * clampedRate + 100.0f);
}

float ModLine_Predelay_At_Rate (int32_t length, float clampedRate)
{
    return ((float) length - 100.0f) / clampedRate;
}

int32_t ModLine_Fresh_Distance (const ModLine* line, float initialPredelay, float predelay, float referenceRate)
{
    // A fresh line delays by the distance between its indices modulo its
    // length: a count of samples, set by the pre-delay it was made with.
    // Here that count at the reference rate, in this line's own samples.
    const int32_t initialLength = ModLine_Length_At_Rate (initialPredelay, referenceRate);
    const int32_t length = ModLine_Length_At_Rate (predelay, referenceRate);
    const auto start = (int32_t) ((double) initialLength * 0.5);
    const int32_t referenceDelay = ((-start) % length + length) % length;
    const auto delay = (int32_t) std::lround ((double) referenceDelay * (double) line->sampleRate / (double) referenceRate);
    return delay % line->length;
}

void ModLine_Match_Fresh_Delay (ModLine* line, float initialPredelay, float predelay, float referenceRate)
{
    const int32_t delay = ModLine_Fresh_Distance (line, initialPredelay, predelay, referenceRate);
    line->readIndex = ((line->writeIndex - delay) % line->length + line->length) % line->length;
}

void ModLine_Keep_Recent_Input (ModLine* line, int32_t lengthBefore, int32_t distance)
{
    // The whole new ring is made up (so that the next change finds it whole
    // too): the most recent input the old one held, then silence.
    float* const ring = line->buffer;
    const int32_t length = line->length;
    const int32_t kept = std::min (length, lengthBefore);

    // The last sample written stays where it is when it fits the new ring,
    // else it ends the ring; the samples before it follow it backwards.
    const int32_t last = line->writeIndex;
    const int32_t newLast = last < length ? last : length - 1;
    if (newLast != last)
    {
        std::memmove (ring + newLast - (kept - 1), ring + last - (kept - 1), sizeof (float) * (size_t) kept);
    }
    else if (kept > last + 1)
    {
        // The part wrapped past the start of the old ring ends the new one.
        const int32_t wrapped = kept - (last + 1);
        std::memmove (ring + length - wrapped, ring + lengthBefore - wrapped, sizeof (float) * (size_t) wrapped);
    }

    // Older than the line held: silence, in the slots between the two.
    if (kept < length)
        std::memset (ring + newLast + 1, 0, sizeof (float) * (size_t) (length - kept));

    line->writeIndex = newLast;
    line->readIndex = ((newLast - distance) % length + length) % length;
    line->usedLength = std::max (line->usedLength, length);
}

void ModLine_Destroy (ModLine* line)
{
    if (line == nullptr)
        return;
    RingMemory_Destroy (line->buffer, line->capacity);
    RingMemory_Destroy (reinterpret_cast<float*> (line), recordFloats);
}
} // namespace nadrix
