// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/editor/RandomRender.h"

#include "processor/NadrixAudioProcessor.h"

namespace nadrix
{
// Drives a processor the way a host does: states through
// setStateInformation, programs through setCurrentProgram, single values
// through the published parameter objects.
class HostSession
{
public:
    explicit HostSession (NadrixAudioProcessor& processor);

    juce::Result restoreState (const juce::File& file);
    juce::Result saveState (const juce::File& file);

    juce::Result selectProgram (int program);
    void setParameter (int index, float normalisedValue);
    // The window's random reverb, from a seed of its own instead of rand().
    void buildRandomRoom (juce::uint32 seed, const RandomRenderSettings& settings);

    juce::String describeSetup() const;
    juce::String listPrograms() const;
    juce::String listParameters() const;

private:

    NadrixAudioProcessor& processor;
    juce::String setup { "the start values (\"Small Complex Room\")" };
    int settingsChanged = 0;
};
} // namespace nadrix
