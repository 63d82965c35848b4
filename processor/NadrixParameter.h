// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

#include <atomic>

namespace nadrix
{
class NadrixAudioProcessor;

// A published parameter. It holds the normalised value (0..1) exactly as it
// was set, and shows hosts the value in its unit over the range of its row
// in ParameterInfo (a host that works in those units, as LV2 hosts do, gets
// them through the range's mapping). A host writes it through setValue; the
// write is handed to the processor, which stores and maps it, queues it for
// an open window and publishes the value it kept back here. A value the
// processor already holds is not handed over again, so every write is
// applied once and none loops back. Hosts read and type its value as text
// in the reverb's own units.
class NadrixParameter final : public juce::RangedAudioParameter
{
public:
    NadrixParameter (NadrixAudioProcessor& owner, int index, float defaultValue);

    // The processor's own value, kept without handing it back.
    void publish (float normalisedValue) noexcept;

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
