// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

#include <atomic>

namespace nadrix
{
class NadrixAudioProcessor;

// A published parameter, and the one store of its value: the normalised
// value (0..1) exactly as it was last set, whoever set it. Hosts show it in
// its unit over the range of its row in ParameterInfo (a host that works in
// those units, as LV2 hosts do, gets them through the range's mapping) and
// read and type its value as text in the reverb's own units.
//
// A host writes it through setValue; the processor's own writes (the
// window's, a program's, a restored state's) go through take. Either way
// the processor maps the value held here into the engine; a value already
// held is not mapped again, so a host's echo of a value changes nothing.
class NadrixParameter final : public juce::RangedAudioParameter
{
public:
    NadrixParameter (NadrixAudioProcessor& owner, int index, float defaultValue);

    // Holds a value from anywhere: one that is not a number keeps the value
    // held, the rest is held to 0..1. True when the value held changed. Any
    // thread, the audio thread included.
    bool take (float normalisedValue) noexcept;

    float getValue() const override;
    void setValue (float normalisedValue) override;
    float getDefaultValue() const override;
    juce::String getText (float normalisedValue, int maximumLength) const override;
    float getValueForText (const juce::String& text) const override;
    const juce::NormalisableRange<float>& getNormalisableRange() const override;

private:
    NadrixAudioProcessor& owner;
    const int index;
    const float defaultValue;
    const juce::NormalisableRange<float> range;
    std::atomic<float> value;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (NadrixParameter)
};
} // namespace nadrix
