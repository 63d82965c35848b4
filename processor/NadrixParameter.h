// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

class NadrixAudioProcessor;

// A published parameter. A host writes it through setValue; once the object
// holds the value, the write is handed to the processor, which stores and
// maps it, queues it for an open editor and publishes the value it kept back
// here. A value the processor already holds is not handed over again, so
// every write is applied once and none loops back. Hosts read and type its value as text
// in the reverb's own units.
class NadrixParameter final : public juce::AudioParameterFloat
{
public:
    NadrixParameter (NadrixAudioProcessor& owner, int index, const juce::String& parameterName, float defaultValue);

    void publish (float newValue);

    juce::String getText (float normalisedValue, int maximumLength) const override;
    float getValueForText (const juce::String& text) const override;
    bool isAutomatable() const override;

private:
    void valueChanged (float newValue) override;

    NadrixAudioProcessor& owner;
    const int index;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (NadrixParameter)
};
