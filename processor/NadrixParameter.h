#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

class NadrixAudioProcessor;

// A published parameter. A host writes it through setValue; once the object
// holds the value, the write is handed to the processor, which stores and
// maps it, queues it for an open editor and publishes the value it kept back
// here. publish() stores without handing over again, so every write is
// applied once and none loops back.
class NadrixParameter final : public juce::AudioParameterFloat
{
public:
    NadrixParameter (NadrixAudioProcessor& owner, int index, const juce::String& parameterName, float defaultValue);

    void publish (float newValue);

private:
    void valueChanged (float newValue) override;

    NadrixAudioProcessor& owner;
    const int index;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (NadrixParameter)
};
