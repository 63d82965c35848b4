#pragma once

// The two mappings between a parameter's normalised value (0..1, what host,
// editor, state and programs carry) and its value in engine units.
namespace ParameterMapping
{
    // Normalised to engine units: split frequencies 9080 n^2 + 20 Hz, band
    // gains 2 n, pans 2 n - 1, everything else unchanged.
    float engineValueFor (int index, float normalised);

    // Stored program values to normalised. The frequency divisor is 9980, not
    // the 9080 of the forward mapping: saved projects rely on the frequencies
    // this yields, so a stored 360.25446 Hz reaches the engine as 329.57019 Hz.
    float normalisedFromStored (int index, float stored);
}
