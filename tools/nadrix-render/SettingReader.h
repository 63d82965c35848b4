// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/editor/RandomRender.h"

#include <juce_core/juce_core.h>

#include <optional>
#include <variant>

namespace nadrix
{
// How a user names a reverb's settings in words, for nadrix-render's command
// line and the Python module alike: programs, parameters and their values,
// and the RANDOMIZER settings. The errors say what was wrong and what would
// be right; each caller adds where it came from ("--set", "Reverb.set").
namespace SettingReader
{
    // A plain decimal number and nothing else: "0.5x", "0x10", "inf" and ""
    // are not numbers here.
    std::optional<double> plainNumber (const juce::String& text);

    // A factory program by number 0..5 or name (in any letter case).
    std::optional<int> findProgram (const juce::String& numberOrName);
    juce::StringArray programNames();

    // A parameter by its name (in any letter case), or -1.
    int parameterNamed (const juce::String& name);
    juce::StringArray parameterNames();

    struct Setting
    {
        int index;
        float normalised;              // held to 0..1
        bool beyondRange = false;      // the value typed lay beyond the parameter's range
    };

    struct Refusal
    {
        juce::String reason;          // "unknown parameter 'Mx' (did you mean 'Mix'?)", "Mix: cannot read ..."
        bool unknownName = false;     // the caller may say where the names are listed
    };

    // A parameter's name and the value it is given: a plain number is the
    // normalised value 0..1; anything else is read as a host reads typed
    // text ("60 %", "250 ms", "L30", "On").
    std::variant<Setting, Refusal> readSetting (const juce::String& name, const juce::String& value);

    // "tail,room,predelay,complexity", each 0..1: the window's RANDOMIZER sliders.
    std::optional<RandomRenderSettings> readRandomSettings (const juce::String& text);
}
} // namespace nadrix
