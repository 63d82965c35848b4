// SPDX-License-Identifier: GPL-3.0-or-later
#include "NadrixParameter.h"

#include "NadrixAudioProcessor.h"
#include "ParameterLayout.h"
#include "ParameterText.h"

NadrixParameter::NadrixParameter (NadrixAudioProcessor& o, int i, const juce::String& parameterName, float defaultValue)
    : juce::AudioParameterFloat (juce::ParameterID { parameterName, 1 }, parameterName, juce::NormalisableRange<float> (0.0f, 1.0f), defaultValue),
      owner (o),
      index (i)
{
}

void NadrixParameter::publish (float newValue)
{
    if (get() == newValue) // the range is 0..1, so the held value is the normalised one
        return;

    static_cast<juce::AudioProcessorParameter&> (*this).setValue (newValue);
}

void NadrixParameter::valueChanged (float newValue)
{
    // The processor stores a value before it publishes it, so a value it
    // already holds is its own, coming back: only a new one is the host's.
    // (No thread-local flag: in a plug-in loaded at run time, a thread's first
    // use of one allocates, and the first may well be on the audio thread.)
    if (newValue != owner.getParameterValue (index))
        owner.setParameter (index, newValue);
}

juce::String NadrixParameter::getText (float normalisedValue, int maximumLength) const
{
    return ParameterText::format (index, normalisedValue).substring (0, maximumLength);
}

float NadrixParameter::getValueForText (const juce::String& text) const
{
    // Text that cannot be read leaves the value as it is.
    return ParameterText::parse (index, text).value_or (get()); // the range is 0..1: the held value is the normalised one
}

bool NadrixParameter::isAutomatable() const
{
    // The zoom of the window's fan view is not sound: hosts leave it out of
    // their automation lists. It is still saved, restored and set by programs.
    return index != ParameterLayout::uiZoom;
}
