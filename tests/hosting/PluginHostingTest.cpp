// SPDX-License-Identifier: GPL-3.0-or-later
// Loads the built VST3 and LV2 bundles through JUCE's own plug-in hosting, as
// a host would, and checks them against the processor built into this test.
#include "NadrixAudioProcessor.h"
#include "ParameterNames.h"
#include "../processor/ProcessorTestHelpers.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <gtest/gtest.h>

#include <random>

namespace juce
{
    bool dispatchNextMessageOnSystemQueue (bool returnIfNoPendingMessages); // JUCE's one step of its message loop
}

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

namespace
{
    juce::AudioProcessorParameter* byName (const juce::Array<juce::AudioProcessorParameter*>& params, const juce::String& name)
    {
        for (auto* p : params)
            if (p->getName (100) == name)
                return p;
        return nullptr;
    }

    int staleValues (juce::AudioPluginInstance& hosted, NadrixAudioProcessor& local)
    {
        int stale = 0;
        for (auto* p : pluginParameters (hosted))
            if (p->getValue() != byName (local.getParameters(), p->getName (100))->getValue())
                ++stale;
        return stale;
    }

    // Every hosted value comes to equal the local processor's value of the
    // same name. A JUCE plug-in on Linux asks its host to re-read values from
    // its own message thread, so the host's message loop runs meanwhile.
    void expectHostSees (juce::AudioPluginInstance& hosted, NadrixAudioProcessor& local, const char* what)
    {
        const auto deadline = juce::Time::getMillisecondCounter() + 5000;
        while (staleValues (hosted, local) > 0 && juce::Time::getMillisecondCounter() < deadline)
            if (! juce::dispatchNextMessageOnSystemQueue (true))
                juce::Thread::sleep (1);

        EXPECT_EQ (staleValues (hosted, local), 0) << "hosted values are stale after " << what << " in " << hosted.getPluginDescription().pluginFormatName;
    }

    void runOneBlock (juce::AudioPluginInstance& hosted)
    {
        auto block = noiseBuffer (2, 512, 3); // LV2 passes values both ways with a block
        processInBlocks (hosted, block, 512);
    }

    void checkHostSeesProgramsAndStates (juce::AudioPluginFormat& format, const juce::String& fileOrIdentifier)
    {
        const auto hosted = load (format, fileOrIdentifier);
        ASSERT_NE (hosted, nullptr);
        hosted->setPlayConfigDetails (2, 2, 44100.0, 512);
        hosted->prepareToPlay (44100.0, 512);
        juce::Thread::sleep (250); // JUCE's LV2 host restores a state as it creates the instance: wait out the 200 ms rule

        // Program 0 applies when it is the first one chosen.
        for (const char* name : { "Bright Ambience", "Robotizer" })
        {
            int index = 0;
            while (hosted->getProgramName (index) != name)
                ++index;
            hosted->setCurrentProgram (index);
            runOneBlock (*hosted);

            NadrixAudioProcessor fresh;
            fresh.setCurrentProgram (juce::StringArray (programNames).indexOf (name));
            expectHostSees (*hosted, fresh, name);
        }

        // A state restored into a second instance reaches its host too.
        std::mt19937 rng (7);
        for (auto* p : pluginParameters (*hosted))
            p->setValueNotifyingHost ((float) (rng() % 1000) / 1000.0f);
        runOneBlock (*hosted);
        juce::MemoryBlock saved;
        hosted->getStateInformation (saved);

        const auto restored = load (format, fileOrIdentifier);
        ASSERT_NE (restored, nullptr);
        restored->prepareToPlay (44100.0, 512);
        restored->setStateInformation (saved.getData(), (int) saved.getSize());
        runOneBlock (*restored);

        NadrixAudioProcessor fresh;
        const auto chunk = pluginChunk (saved, dynamic_cast<juce::VST3PluginFormat*> (&format) != nullptr);
        fresh.setStateInformation (chunk.getData(), (int) chunk.getSize());
        expectHostSees (*restored, fresh, "a state restore");
    }
}

TEST (PluginHosting, HostsSeeWhatProgramsAndRestoredStatesSet)
{
    juce::VST3PluginFormat vst3;
    checkHostSeesProgramsAndStates (vst3, NADRIX_VST3_BUNDLE);

    juce::LV2PluginFormat lv2;
    lv2.searchPathsForPlugins (juce::FileSearchPath (juce::File (NADRIX_LV2_BUNDLE).getParentDirectory().getFullPathName()), false, false);
    checkHostSeesProgramsAndStates (lv2, NADRIX_LV2_URI_TEXT);
}

TEST (PluginHosting, Vst3ShowsValuesInUnitsAndReadsTypedValues)
{
    juce::VST3PluginFormat format;
    const auto hosted = load (format, NADRIX_VST3_BUNDLE);
    ASSERT_NE (hosted, nullptr);
    const auto params = pluginParameters (*hosted);

    const std::vector<std::tuple<const char*, float, const char*>> kinds = {
        { "Mix", 0.846f, "% wet" }, { "Split Freq LOW", 0.36f, "Hz" }, { "Gain High", 0.4f, "dB" }, { "UI Zoom", 1.0f, "x" },
        { "Pan Dly 0", 0.3f, "L " }, { "HC Gain Dly 1", 0.8f, "%" }, { "Feedback Dly 2", 0.6f, "%" }, { "Predelay Dly 3", 0.02f, "ms" },
        { "Delay time Dly 4", 0.25f, "ms" }, { "Active Dly 5", 1.0f, "On" }, { "Predelay gain Dly 6", 0.7f, "%" },
    };
    for (const auto& [name, value, unit] : kinds)
    {
        auto* p = byName (params, name);
        ASSERT_NE (p, nullptr) << name;
        const auto text = p->getText (value, 100);
        EXPECT_TRUE (text.contains (unit)) << name << " reads " << text;
        EXPECT_EQ (p->getText (p->getValueForText (text), 100), text) << name; // back within the text's precision
    }
    EXPECT_FLOAT_EQ (byName (params, "Mix")->getValueForText ("50"), 0.5f);
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

TEST (PluginHosting, Vst3SurvivesDamagedWrapperTrailers)
{
    // The VST3 wrapper ends the plug-in's chunk with its own private data and
    // that data's size: a damaged size must not send it reading outside the chunk.
    juce::VST3PluginFormat format;
    const auto hosted = load (format, NADRIX_VST3_BUNDLE);
    ASSERT_NE (hosted, nullptr);
    juce::MemoryBlock state;
    hosted->getStateInformation (state);
    const auto xml = juce::AudioProcessor::getXmlFromBinary (state.getData(), (int) state.getSize());
    ASSERT_NE (xml, nullptr);
    auto* component = xml->getChildByName ("IComponent");
    juce::MemoryBlock chunk;
    chunk.fromBase64Encoding (component->getAllSubText());
    const auto sizeField = chunk.getSize() - std::strlen ("JUCEPrivateData") - 8;

    std::mt19937_64 rng (11);
    const auto params = pluginParameters (*hosted);
    for (int round = 0; round < 1000; ++round)
    {
        const juce::uint64 size = round % 2 == 0 ? rng() : rng() % (2 * chunk.getSize());
        std::memcpy (static_cast<char*> (chunk.getData()) + sizeField, &size, 8);
        component->deleteAllTextElements();
        component->addTextElement (chunk.toBase64Encoding());
        juce::MemoryBlock damaged;
        juce::AudioProcessor::copyXmlToBinary (*xml, damaged);
        hosted->setStateInformation (damaged.getData(), (int) damaged.getSize());
    }

    // The plug-in's own values, at the start of the chunk, were applied throughout.
    for (int i = 0; i < 357; ++i)
    {
        float expected;
        std::memcpy (&expected, static_cast<const char*> (chunk.getData()) + 4 * i, 4);
        const auto* p = byName (params, parameterName (i));
        ASSERT_EQ (p->getValue(), expected) << i;
    }
}

// The bundles as a Debian package installs them: the package test extracts
// the package and names its bundles here.
TEST (PackagedBundles, LoadAndMatchTheProcessor)
{
    const auto* vst3 = std::getenv ("NADRIX_PACKAGED_VST3");
    const auto* lv2 = std::getenv ("NADRIX_PACKAGED_LV2");
    if (vst3 == nullptr || lv2 == nullptr)
        GTEST_SKIP() << "run by tests/install/package-check.sh";

    juce::VST3PluginFormat vst3Format;
    checkHostedPlugin (vst3Format, vst3, true);

    juce::LV2PluginFormat lv2Format;
    lv2Format.searchPathsForPlugins (juce::FileSearchPath (juce::File (lv2).getParentDirectory().getFullPathName()), false, false);
    checkHostedPlugin (lv2Format, NADRIX_LV2_URI_TEXT, false);
}
