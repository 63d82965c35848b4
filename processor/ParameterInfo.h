// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/ParameterLayout.h"

#include <string>

namespace nadrix
{
// What each parameter is, in one table: a row for each of the seven globals
// and one for each of the seven kinds a line has. A row gives the name, the
// unit it reads in, the mapping from the normalised value (0..1: what hosts,
// the window, the state and the programs carry) to the engine's units and
// to the value hosts are shown, the shown range, and whether hosts may
// automate it. The start values are factory program 5's ("Small Complex
// Room"). Names, texts, the published parameters, the window and the tools
// all read this table; nothing else re-codes a mapping.
namespace ParameterInfo
{
    // The global the engine leaves to the plug-in: its window's fan zoom.
    constexpr int uiZoom = ParameterLayout::gainHigh + 1;
    static_assert (uiZoom == ParameterLayout::numGlobals - 1);

    // How a value reads to a user (ParameterText formats and parses each).
    enum class Unit { mixPercent, percent, feedbackPercent, hertz, gain, milliseconds, delayMilliseconds, pan, onOff, zoom };

    struct Row
    {
        const char* name;            // a global's name, or a per-line stem followed by the line number
        // What hosts keep in sessions and automation: never derived from the
        // name, so that a name can change and saved sessions still find the
        // parameter. The VST3 and AU ID (JUCE's parameter ID) and the LV2
        // port symbol; a per-line stem takes the line number too.
        const char* id;
        const char* symbol;
        Unit unit;
        float (*toEngine) (float normalised);
        float (*toNormalised) (float engineValue);  // the exact inverse (within float rounding)
        float (*toShown) (float normalised);        // the value a host shows and exchanges in its units
        float (*fromShown) (float shown);
        float shownMinimum, shownMaximum;
        const char* lv2Unit;         // the shown value's unit in LV2's units vocabulary ("ms"), or ""
        bool automatable;
    };

    // The row of any index 0..356 (a per-line index gets its kind's row).
    const Row& rowOf (int index) noexcept;
    bool isValidIndex (int index) noexcept;

    // "Mix", "Pan Dly 0", ..., "Predelay gain Dly 49".
    std::string name (int index);
    // The index of the parameter with this exact name, or -1.
    int indexOfName (const std::string& name);
    // "Mix", "Pan Dly 0": the parameter's ID for VST3 and AU hosts.
    std::string id (int index);
    // "Mix", "Pan_Dly_0": its LV2 port symbol.
    std::string symbol (int index);

    float engineValue (int index, float normalised);
    float normalisedFromEngine (int index, float engineValue);
    float shownValue (int index, float normalised);
    float normalisedFromShown (int index, float shown);

    // A factory program's stored value (in engine units) to normalised. For
    // the split frequencies the divisor is 9980, not the 9080 of the mapping:
    // saved projects rely on the frequencies this gives, so a stored
    // 360.25446 Hz reaches the engine as 329.57019 Hz.
    float normalisedFromStored (int index, float stored);

    // Limits the mappings hold to, in engine units.
    // A comb at feedback 1 never decays: the engine gets at most this,
    // whatever a host, a state or a program asks for (the stored value stays).
    constexpr float highestFeedback = 0.995f;
    // The split frequencies run from 20 Hz, 9080 n^2 Hz above it.
    constexpr float lowestSplitFrequency = 20.0f, splitFrequencySpan = 9080.0f;
    // The band gains run 0..2, linear.
    constexpr float highestBandGain = 2.0f;
    // "UI Zoom" is the fan view's zoom: 1.4 at 0, 11.4 at 1.
    constexpr float lowestZoom = 1.4f, zoomRange = 10.0f;
    // When a line runs: LineActivity, the engine's own rule.
}
} // namespace nadrix
