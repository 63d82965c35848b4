// SPDX-License-Identifier: GPL-3.0-or-later
// A state chunk from a VST3 host, through the built bundle: any bytes as
// the component's and the controller's state, the wrapper's trailer
// included. Every value the host reads back stays normalised and the
// reverb stays finite and within +24 dBFS.
#include "fuzz/FuzzKit.h"

#include <juce_audio_processors/juce_audio_processors.h>

namespace
{
    juce::AudioPluginInstance& hosted()
    {
        static const auto instance = [] {
            juce::VST3PluginFormat format;
            juce::OwnedArray<juce::PluginDescription> found;
            format.findAllTypesForFile (found, NADRIX_VST3_BUNDLE);
            juce::String error;
            auto loaded = found.size() == 1 ? format.createInstanceFromDescription (*found[0], 44100.0, 512, error) : nullptr;
            NADRIX_FUZZ_CHECK (loaded != nullptr, "the VST3 bundle does not load");
            loaded->setPlayConfigDetails (2, 2, 44100.0, 512);
            loaded->prepareToPlay (44100.0, 512);
            return loaded;
        }();
        return *instance;
    }
}

extern "C" int LLVMFuzzerInitialize (int*, char***)
{
    nadrix::fuzz::startJuce();
    hosted();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput (const uint8_t* data, size_t size)
{
    using namespace nadrix;

    const juce::MemoryBlock chunk (data, size);
    juce::XmlElement state ("VST3PluginState");
    state.createNewChildElement ("IComponent")->addTextElement (chunk.toBase64Encoding());
    state.createNewChildElement ("IEditController")->addTextElement (chunk.toBase64Encoding());
    juce::MemoryBlock framed;
    juce::AudioProcessor::copyXmlToBinary (state, framed);

    auto& plugin = hosted();
    plugin.setStateInformation (framed.getData(), (int) framed.getSize());
    for (auto* parameter : plugin.getParameters())
        NADRIX_FUZZ_CHECK (fuzz::isNormalised (parameter->getValue()), "a value the host reads back outside 0..1");

    auto audio = testSignal (2, 512);
    processInBlocks (plugin, audio, 512);
    fuzz::checkBoundedAudio (audio);
    return 0;
}
