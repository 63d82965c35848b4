// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The two mappings between a parameter's normalised value (0..1, what host,
// editor, state and programs carry) and its value in engine units.
namespace ParameterMapping
{
    // A comb at feedback 1 never decays, and one fed for long enough grows
    // without bound: whatever a host, a state or a program asks for, the
    // engine gets at most the editor's own limit. The stored value stays.
    constexpr float highestFeedback = 0.995f;

    // The split frequencies run from 20 Hz, 9080 n^2 Hz above it.
    constexpr float lowestSplitFrequency = 20.0f, splitFrequencySpan = 9080.0f;

    // "UI Zoom" is the fan view's zoom: 1.4 at 0, 11.4 at 1.
    constexpr float lowestZoom = 1.4f, zoomRange = 10.0f;

    // Normalised to engine units: split frequencies 9080 n^2 + 20 Hz, band
    // gains 2 n, pans 2 n - 1, feedback at most 0.995, everything else unchanged.
    float engineValueFor (int index, float normalised);

    // Stored program values to normalised. The frequency divisor is 9980, not
    // the 9080 of the forward mapping: saved projects rely on the frequencies
    // this yields, so a stored 360.25446 Hz reaches the engine as 329.57019 Hz.
    float normalisedFromStored (int index, float stored);
}
