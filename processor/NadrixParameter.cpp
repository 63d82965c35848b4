// SPDX-License-Identifier: GPL-3.0-or-later
#include "processor/NadrixParameter.h"

#include "processor/NadrixAudioProcessor.h"
#include "processor/ParameterInfo.h"
#include "processor/ParameterText.h"

#include <cmath>

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
    : juce::RangedAudioParameter (juce::ParameterID { ParameterInfo::id (i), 1 }, ParameterInfo::name (i), attributesOf (i)),
      owner (o),
      index (i),
      defaultValue (defaultNormalised),
      range (shownRange (i)),
      value (defaultNormalised)
{
}

bool NadrixParameter::take (float normalisedValue) noexcept
{
    // Values from outside (a host, a saved state) can be damaged: one that
    // is not a number keeps the value held, the rest are held to 0..1 so
    // the reverb cannot run away.
    if (! std::isfinite (normalisedValue))
        return false;
    const float held = juce::jlimit (0.0f, 1.0f, normalisedValue);
    return value.exchange (held) != held;
}

float NadrixParameter::getValue() const
{
    return value.load();
}

void NadrixParameter::setValue (float normalisedValue)
{
    if (take (normalisedValue))
        owner.applyToEngine (index);
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
