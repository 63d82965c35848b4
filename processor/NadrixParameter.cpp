// SPDX-License-Identifier: GPL-3.0-or-later
#include "processor/NadrixParameter.h"

#include "processor/NadrixAudioProcessor.h"
#include "processor/ParameterInfo.h"
#include "processor/ParameterText.h"

namespace nadrix
{
namespace
{
    juce::NormalisableRange<float> shownRange (int index)
    {
        const auto& row = ParameterInfo::rowOf (index);
        return { row.shownMinimum, row.shownMaximum,
                 [index] (float, float, float normalised) { return ParameterInfo::shownValue (index, normalised); },
                 [index] (float, float, float shown) { return juce::jlimit (0.0f, 1.0f, ParameterInfo::normalisedFromShown (index, shown)); } };
    }

    juce::AudioProcessorParameterWithIDAttributes attributesOf (int index)
    {
        // No label: the texts carry their units ("84.6 % wet"), which hosts show as they are.
        return juce::AudioProcessorParameterWithIDAttributes().withAutomatable (ParameterInfo::rowOf (index).automatable);
    }
}

NadrixParameter::NadrixParameter (NadrixAudioProcessor& o, int i, float defaultNormalised)
    : juce::RangedAudioParameter (juce::ParameterID { ParameterInfo::name (i), 1 }, ParameterInfo::name (i), attributesOf (i)),
      owner (o),
      index (i),
      defaultValue (defaultNormalised),
      range (shownRange (i)),
      value (defaultNormalised)
{
}

void NadrixParameter::publish (float normalisedValue) noexcept
{
    value.store (normalisedValue, std::memory_order_relaxed);
}

float NadrixParameter::getValue() const
{
    return value.load (std::memory_order_relaxed);
}

void NadrixParameter::setValue (float normalisedValue)
{
    // The processor stores a value before it publishes it, so a value it
    // already holds is its own, coming back: only a new one is the host's.
    // (No thread-local flag: in a plug-in loaded at run time, a thread's first
    // use of one allocates, and the first may well be on the audio thread.)
    value.store (normalisedValue, std::memory_order_relaxed);
    if (normalisedValue != owner.getParameterValue (index))
        owner.setParameter (index, normalisedValue);
}

float NadrixParameter::getDefaultValue() const
{
    return defaultValue;
}

juce::String NadrixParameter::getText (float normalisedValue, int maximumLength) const
{
    return ParameterText::format (index, normalisedValue).substring (0, maximumLength);
}

float NadrixParameter::getValueForText (const juce::String& text) const
{
    // Text that cannot be read leaves the value as it is.
    return ParameterText::parse (index, text).value_or (getValue());
}

const juce::NormalisableRange<float>& NadrixParameter::getNormalisableRange() const
{
    return range;
}

} // namespace nadrix

// The LV2 client (patched) asks for each parameter's unit in LV2's units
// vocabulary, for the port it describes.
juce::String nadrixLv2UnitOf (const juce::AudioProcessorParameter& parameter)
{
    return nadrix::ParameterInfo::rowOf (parameter.getParameterIndex()).lv2Unit;
}
