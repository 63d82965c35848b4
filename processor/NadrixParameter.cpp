#include "NadrixParameter.h"

#include "NadrixAudioProcessor.h"

namespace
{
    // Set while this thread publishes a value, so that the object's own
    // change callback does not hand it to the processor a second time.
    thread_local bool publishing = false;
}

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

    const juce::ScopedValueSetter<bool> scope (publishing, true);
    static_cast<juce::AudioProcessorParameter&> (*this).setValue (newValue);
}

void NadrixParameter::valueChanged (float newValue)
{
    if (! publishing)
        owner.setParameter (index, newValue);
}
