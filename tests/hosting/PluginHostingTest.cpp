// Loads the built VST3 and LV2 bundles through JUCE's own plug-in hosting, as
// a host would, and checks them against the processor built into this test.
#include "NadrixAudioProcessor.h"
#include "../processor/ProcessorTestHelpers.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <gtest/gtest.h>

namespace
{
    const char* const programNames[] = { "Bright Ambience", "Nice Hall", "Robotizer", "Sheep Spring Reverb", "Small Drum Booth", "Small Complex Room" };

    std::unique_ptr<juce::AudioPluginInstance> load (juce::AudioPluginFormat& format, const juce::String& fileOrIdentifier)
    {
        juce::OwnedArray<juce::PluginDescription> found;
        format.findAllTypesForFile (found, fileOrIdentifier);
        if (found.size() != 1)
            return {};

        juce::String error;
        auto instance = format.createInstanceFromDescription (*found[0], 44100.0, 512, error);
        EXPECT_TRUE (error.isEmpty()) << error;
        return instance;
    }

    // The plug-in's own parameters, without the ones a format adds itself
    // (the host-visible bypass, a program selector).
    juce::Array<juce::AudioProcessorParameter*> pluginParameters (juce::AudioPluginInstance& instance)
    {
        juce::Array<juce::AudioProcessorParameter*> result;
        for (auto* p : instance.getParameters())
            if (p != instance.getBypassParameter() && ! p->isMetaParameter() && p->getName (100) != "Program")
                result.add (p);
        return result;
    }

    // The format wraps the plug-in's own chunk in its own framing; this digs
    // the chunk back out of what the hosting side returns.
    juce::MemoryBlock pluginChunk (const juce::MemoryBlock& hostedState, bool isVst3)
    {
        juce::MemoryBlock chunk;

        if (isVst3)
        {
            // Binary-wrapped XML holding the component state, which ends in JUCE's
            // private data: 8 zero bytes, the data, its size and a marker.
            const auto xml = juce::AudioProcessor::getXmlFromBinary (hostedState.getData(), (int) hostedState.getSize());
            if (xml == nullptr || xml->getChildByName ("IComponent") == nullptr)
                return {};
            chunk.fromBase64Encoding (xml->getChildByName ("IComponent")->getAllSubText());
            const juce::String marker ("JUCEPrivateData");
            const auto* bytes = static_cast<const char*> (chunk.getData());
            juce::int64 privateSize;
            std::memcpy (&privateSize, bytes + chunk.getSize() - (size_t) marker.length() - 8, 8);
            chunk.setSize (chunk.getSize() - (size_t) marker.length() - 8 - (size_t) privateSize - 8);
            return chunk;
        }

        // A Turtle document whose state string property holds the chunk.
        const auto text = hostedState.toString();
        const auto value = text.fromFirstOccurrenceOf ("StateString>", false, false)
                               .fromFirstOccurrenceOf ("\"", false, false)
                               .upToFirstOccurrenceOf ("\"", false, false);
        chunk.fromBase64Encoding (value);
        return chunk;
    }

    juce::StringArray sortedNames (const juce::Array<juce::AudioProcessorParameter*>& params)
    {
        juce::StringArray names;
        for (auto* p : params)
            names.add (p->getName (100));
        names.sort (false);
        return names;
    }

    void checkHostedPlugin (juce::AudioPluginFormat& format, const juce::String& fileOrIdentifier, bool isVst3)
    {
        const auto instance = load (format, fileOrIdentifier);
        ASSERT_NE (instance, nullptr);
        auto& hosted = *instance;
        NadrixAudioProcessor local;

        EXPECT_EQ (hosted.getName(), "Nadrix");
        const auto params = pluginParameters (hosted);
        ASSERT_EQ (params.size(), 357);
        EXPECT_EQ (sortedNames (params), sortedNames (local.getParameters())); // LV2 lists them by name
        if (isVst3)
        {
            for (int i = 0; i < 357; ++i)
                ASSERT_EQ (params[i]->getName (100), local.getParameters()[i]->getName (100)) << i;
        }

        // LV2 hosts list the presets in their own order, so programs are found by name.
        ASSERT_EQ (hosted.getNumPrograms(), 6);
        juce::StringArray hostedPrograms;
        for (int i = 0; i < 6; ++i)
            hostedPrograms.add (hosted.getProgramName (i));
        for (int i = 0; i < 6; ++i)
        {
            EXPECT_TRUE (hostedPrograms.contains (programNames[i])) << programNames[i];
            if (isVst3)
            {
                EXPECT_EQ (hostedPrograms[i], programNames[i]);
            }
        }

        // The plug-in's chunk: exactly the 357 values, the same bytes as a local processor's.
        juce::MemoryBlock hostedState, localState;
        hosted.getStateInformation (hostedState);
        local.getStateInformation (localState);
        EXPECT_EQ (pluginChunk (hostedState, isVst3).getSize(), 1428u);
        EXPECT_EQ (pluginChunk (hostedState, isVst3), localState);

        // Program 2 on both, then the same audio in the same blocks.
        hosted.setPlayConfigDetails (2, 2, 44100.0, 512);
        hosted.prepareToPlay (44100.0, 512);
        // JUCE's LV2 host restores a state while it creates the instance, and a
        // program chosen within 200 ms of a restore is dropped by design.
        juce::Thread::sleep (250);
        hosted.setCurrentProgram (hostedPrograms.indexOf ("Robotizer"));
        local.setCurrentProgram (2);
        hostedState.reset();
        localState.reset(); // the state is appended to what the block holds
        hosted.getStateInformation (hostedState);
        local.getStateInformation (localState);
        EXPECT_EQ (pluginChunk (hostedState, isVst3), localState);

        auto hostedAudio = noiseBuffer (2, 44100, 9);
        auto localAudio = hostedAudio;
        processInBlocks (hosted, hostedAudio, 512);
        processInBlocks (local, localAudio, 512);
        EXPECT_TRUE (identical (hostedAudio, localAudio));

        // A state round trip through the host: another instance takes the
        // saved state and gives back the same chunk.
        for (int i = 0; i < 357; ++i)
            params[i]->setValueNotifyingHost (0.25f);
        auto oneBlock = noiseBuffer (2, 512, 3); // LV2 delivers parameter writes with the next block
        processInBlocks (hosted, oneBlock, 512);
        hosted.releaseResources();
        hostedState.reset();
        hosted.getStateInformation (hostedState);
        const auto edited = pluginChunk (hostedState, isVst3);
        ASSERT_EQ (edited.getSize(), 1428u);
        EXPECT_EQ (static_cast<const float*> (edited.getData())[100], 0.25f);

        auto other = load (format, fileOrIdentifier);
        ASSERT_NE (other, nullptr);
        other->setStateInformation (hostedState.getData(), (int) hostedState.getSize());
        juce::MemoryBlock again;
        other->getStateInformation (again);
        EXPECT_EQ (pluginChunk (again, isVst3), edited);
    }
}

TEST (PluginHosting, Vst3BundleLoadsAndMatchesTheProcessor)
{
    juce::VST3PluginFormat format;
    checkHostedPlugin (format, NADRIX_VST3_BUNDLE, true);
}

TEST (PluginHosting, Lv2BundleLoadsAndMatchesTheProcessor)
{
    juce::LV2PluginFormat format;
    format.searchPathsForPlugins (juce::FileSearchPath (juce::File (NADRIX_LV2_BUNDLE).getParentDirectory().getFullPathName()), false, false);
    checkHostedPlugin (format, NADRIX_LV2_URI_TEXT, false);
}
