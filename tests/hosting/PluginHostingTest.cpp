// SPDX-License-Identifier: GPL-3.0-or-later
// Loads the built VST3 and LV2 bundles through JUCE's own plug-in hosting, as
// a host would, and checks them against the processor built into this test.
#include "processor/NadrixAudioProcessor.h"
#include "tests/hosting/HostingKit.h"
#include "tests/hosting/HostileHostKit.h"
#include "tests/hosting/SteppedClock.h"
#include "processor/ParameterInfo.h"
#include "tests/processor/PredelayStep.h"
#include "tests/processor/ProcessorTestHelpers.h"
#include "engine/ParameterLayout.h"

#include <atomic>
#include <random>
#include <thread>

namespace juce
{
    bool dispatchNextMessageOnSystemQueue (bool returnIfNoPendingMessages); // JUCE's one step of its message loop
}

namespace nadrix
{
namespace
{
    // The plug-in's own parameters, without those a format adds (bypass, program).
    juce::Array<juce::AudioProcessorParameter*> pluginParameters (juce::AudioPluginInstance& instance)
    {
        juce::Array<juce::AudioProcessorParameter*> result;
        for (auto* p : instance.getParameters())
            if (p != instance.getBypassParameter() && ! p->isMetaParameter() && p->getName (100) != "Program")
                result.add (p);
        return result;
    }

    juce::AudioProcessorParameter* byName (juce::AudioPluginInstance& hosted, const juce::String& name)
    {
        for (auto* p : pluginParameters (hosted))
            if (p->getName (100) == name)
                return p;
        return nullptr;
    }

    // The plug-in's own chunk, dug out of the VST3 framing: an XML document
    // whose component state ends in JUCE's private data (8 zero bytes, the
    // data, its size, a marker). An LV2 state holds the ports alone.
    juce::MemoryBlock pluginChunk (const juce::MemoryBlock& hostedState)
    {
        juce::MemoryBlock chunk;
        const auto xml = juce::AudioProcessor::getXmlFromBinary (hostedState.getData(), (int) hostedState.getSize());
        if (xml == nullptr || xml->getChildByName ("IComponent") == nullptr)
            return {};
        chunk.fromBase64Encoding (xml->getChildByName ("IComponent")->getAllSubText());
        juce::int64 privateSize;
        const auto sizeField = chunk.getSize() - std::strlen ("JUCEPrivateData") - 8;
        std::memcpy (&privateSize, static_cast<const char*> (chunk.getData()) + sizeField, 8);
        chunk.setSize (sizeField - (size_t) privateSize - 8);
        return chunk;
    }

    // What the host holds for every parameter, in its own terms.
    std::vector<float> hostValues (juce::AudioPluginInstance& hosted)
    {
        std::vector<float> values;
        for (int i = 0; i < ParameterLayout::numParameters; ++i)
            values.push_back (byName (hosted, ParameterInfo::name (i))->getValue());
        return values;
    }

    // JUCE's LV2 host saves and restores the plug-in's state in prepareToPlay,
    // and a program chosen within 200 ms of a restore is dropped by design:
    // the plug-in's clock is stepped past that.
    void prepareAndStepPastTheProgramRule (juce::AudioPluginInstance& hosted)
    {
        hosted.setPlayConfigDetails (2, 2, 44100.0, 512);
        hosted.prepareToPlay (44100.0, 512);
        stepMonotonicClock (201);
    }

    void runOneBlock (juce::AudioProcessor& p)
    {
        auto block = noiseBuffer (2, 512, 3); // LV2 passes values both ways with a block
        processInBlocks (p, block, 512);
    }

    // What a host holds for a parameter the local processor holds at
    // `normalised`. A VST3 host holds the normalised value itself; an LV2 host
    // holds the port's value in the parameter's units, which JUCE's host
    // spreads evenly over the port's range.
    bool hostHolds (juce::AudioPluginInstance& hosted, int index, float normalised)
    {
        const float held = byName (hosted, ParameterInfo::name (index))->getValue();
        if (hosted.getPluginDescription().pluginFormatName != "LV2")
            return held == normalised;
        const auto& row = ParameterInfo::rowOf (index);
        const float shown = ParameterInfo::shownValue (index, normalised);
        return std::abs (held - (shown - row.shownMinimum) / (row.shownMaximum - row.shownMinimum)) < 1.0e-6f;
    }

    // Every hosted value comes to equal the local processor's value of the same
    // name. A JUCE plug-in on Linux asks its host to re-read values from its own
    // message thread, so the host's message loop runs meanwhile.
    void expectHostSees (juce::AudioPluginInstance& hosted, NadrixAudioProcessor& local, const juce::String& what)
    {
        auto stale = [&] {
            int n = 0;
            for (int i = 0; i < ParameterLayout::numParameters; ++i)
                n += hostHolds (hosted, i, local.getParameterValue (i)) ? 0 : 1;
            return n;
        };
        for (const auto deadline = juce::Time::getMillisecondCounter() + 20000; stale() > 0 && juce::Time::getMillisecondCounter() < deadline;)
            if (! juce::dispatchNextMessageOnSystemQueue (true))
                juce::Thread::sleep (1);
        EXPECT_EQ (stale(), 0) << "hosted values are stale after " << what << " in " << hosted.getPluginDescription().pluginFormatName;
    }

    void checkHostedPlugin (juce::AudioPluginFormat& format, const juce::String& fileOrIdentifier, bool isVst3)
    {
        const auto hosted = loadBundle (format, fileOrIdentifier);
        ASSERT_NE (hosted, nullptr);
        NadrixAudioProcessor local;

        // Names and programs as a host lists them (LV2 hosts sort both by name).
        EXPECT_EQ (hosted->getName(), "Nadrix");
        const auto params = pluginParameters (*hosted);
        ASSERT_EQ (params.size(), ParameterLayout::numParameters);
        for (int i = 0; i < ParameterLayout::numParameters; ++i)
            ASSERT_NE (byName (*hosted, ParameterInfo::name (i)), nullptr) << ParameterInfo::name (i);
        ASSERT_EQ (hosted->getNumPrograms(), 6);
        juce::StringArray hostedPrograms;
        for (int i = 0; i < 6; ++i)
            hostedPrograms.add (hosted->getProgramName (i));
        EXPECT_EQ (isVst3 ? hostedPrograms : factoryProgramNames, factoryProgramNames) << hostedPrograms.joinIntoString (", ");
        for (const auto& name : factoryProgramNames)
            EXPECT_TRUE (hostedPrograms.contains (name)) << name;

        // The plug-in's chunk: the same 1428 bytes as a local processor's
        // (in LV2 the ports, which hold the same values).
        if (isVst3)
            EXPECT_EQ (pluginChunk (stateOf (*hosted)), stateOf (local));
        else
            expectHostSees (*hosted, local, "loading");

        // A VST3 host shows and reads values in the reverb's units.
        if (isVst3)
        {
            EXPECT_EQ (byName (*hosted, "Delay time Dly 4")->getText (0.25f, 100), "250.0 ms");
            EXPECT_FLOAT_EQ (byName (*hosted, "Mix")->getValueForText ("50"), 0.5f);
        }

        // Program 0 applies when chosen first, then Robotizer; the host sees
        // every value each program sets, and the audio is the local processor's.
        prepareAndStepPastTheProgramRule (*hosted);
        for (const char* name : { "Bright Ambience", "Robotizer" })
        {
            hosted->setCurrentProgram (hostedPrograms.indexOf (name));
            local.setCurrentProgram (factoryProgramNames.indexOf (name));
            runOneBlock (*hosted);
            runOneBlock (local);
            expectHostSees (*hosted, local, name);
        }
        auto hostedAudio = noiseBuffer (2, 44100, 9), localAudio = hostedAudio;
        processInBlocks (*hosted, hostedAudio, 512);
        processInBlocks (local, localAudio, 512);
        EXPECT_TRUE (identical (hostedAudio, localAudio));

        // A state saved by one instance and restored into another reaches that one's host too.
        std::mt19937 rng (7);
        for (auto* p : params)
            p->setValueNotifyingHost ((float) (rng() % 1000) / 1000.0f);
        runOneBlock (*hosted);
        const auto saved = stateOf (*hosted);
        const auto restored = loadBundle (format, fileOrIdentifier);
        ASSERT_NE (restored, nullptr);
        restored->prepareToPlay (44100.0, 512);
        restored->setStateInformation (saved.getData(), (int) saved.getSize());
        runOneBlock (*restored);
        if (! isVst3)
        {
            EXPECT_EQ (hostValues (*restored), hostValues (*hosted));
            return;
        }
        const auto chunk = pluginChunk (saved);
        ASSERT_EQ (chunk.getSize(), 1428u);
        local.setStateInformation (chunk.getData(), (int) chunk.getSize());
        expectHostSees (*restored, local, "a state restore");
    }

    void checkBundles (const char* vst3Bundle, const char* lv2Bundle)
    {
        juce::VST3PluginFormat vst3;
        checkHostedPlugin (vst3, vst3Bundle, true);
        juce::LV2PluginFormat lv2;
        searchLv2Folder (lv2, lv2Bundle);
        checkHostedPlugin (lv2, NADRIX_LV2_URI_TEXT, false);
    }
}

TEST (PluginHosting, Vst3AndLv2LoadMatchTheProcessorAndKeepTheirHostInformed)
{
    checkBundles (NADRIX_VST3_BUNDLE, NADRIX_LV2_BUNDLE);
}

// The bundles as a Debian package installs them: the package test extracts
// the package and names its bundles here.
TEST (PackagedBundles, LoadAndMatchTheProcessor)
{
    const auto* vst3 = std::getenv ("NADRIX_PACKAGED_VST3");
    const auto* lv2 = std::getenv ("NADRIX_PACKAGED_LV2");
    if (vst3 == nullptr || lv2 == nullptr)
        GTEST_SKIP() << "run by tests/install/package-check.sh";
    checkBundles (vst3, lv2);
}

TEST (PluginHosting, APreDelayChangedWhilePlayingSoundsAsTheSessionSavedAndReopened)
{
    // Played live: noise, then the host changes two pre-delays and another
    // line's switch, silence lets what was heard before die away, then a
    // probe. Reopened: a new instance restores the state saved right after
    // the change and hears the same silence and probe. The probe must sound
    // the same in both, to far below anything audible.
    auto check = [] (juce::AudioPluginFormat& format, const juce::String& fileOrIdentifier) {
        const auto live = loadBundle (format, fileOrIdentifier);
        ASSERT_NE (live, nullptr);
        prepareAndStepPastTheProgramRule (*live);
        auto noise = noiseBuffer (2, 44100, 5);
        processInBlocks (*live, noise, 512);
        for (const auto& [name, value] : { std::pair { "Predelay Dly 0", 0.25f }, { "Predelay Dly 5", 0.2f }, { "Active Dly 40", 1.0f } })
            byName (*live, name)->setValueNotifyingHost (value);
        runOneBlock (*live);
        const auto saved = stateOf (*live);

        const auto reopened = loadBundle (format, fileOrIdentifier);
        ASSERT_NE (reopened, nullptr);
        prepareAndStepPastTheProgramRule (*reopened);
        reopened->setStateInformation (saved.getData(), (int) saved.getSize());

        juce::AudioBuffer<float> heard[2];
        int n = 0;
        for (auto* instance : { live.get(), reopened.get() })
        {
            juce::AudioBuffer<float> silence (2, 10 * 44100);
            silence.clear();
            processInBlocks (*instance, silence, 512);
            heard[n] = testSignal (2, 3 * 44100);
            processInBlocks (*instance, heard[n++], 512);
        }

        float largest = 0.0f, difference = 0.0f;
        for (int ch = 0; ch < 2; ++ch)
            for (int i = 0; i < heard[0].getNumSamples(); ++i)
            {
                largest = std::max (largest, std::abs (heard[1].getSample (ch, i)));
                difference = std::max (difference, std::abs (heard[0].getSample (ch, i) - heard[1].getSample (ch, i)));
            }
        EXPECT_GT (largest, 0.1f);
        EXPECT_LT (difference, 1.0e-5f * largest) << live->getPluginDescription().pluginFormatName; // below -100 dB
    };

    juce::VST3PluginFormat vst3;
    check (vst3, NADRIX_VST3_BUNDLE);
    juce::LV2PluginFormat lv2;
    searchLv2Folder (lv2, NADRIX_LV2_BUNDLE);
    check (lv2, NADRIX_LV2_URI_TEXT);
}

TEST (PluginHosting, Lv2ProgramsApplyInEveryOrderAndARestoreAfterThemRestoresEveryValue)
{
    juce::LV2PluginFormat format;
    searchLv2Folder (format, NADRIX_LV2_BUNDLE);
    const auto hosted = loadBundle (format, NADRIX_LV2_URI_TEXT);
    ASSERT_NE (hosted, nullptr);
    prepareAndStepPastTheProgramRule (*hosted);
    auto programIndex = [&] (const juce::String& name) {
        for (int i = 0; i < hosted->getNumPrograms(); ++i)
            if (hosted->getProgramName (i) == name)
                return i;
        return -1;
    };
    auto choose = [&] (const juce::String& name) {
        hosted->setCurrentProgram (programIndex (name));
        runOneBlock (*hosted);
    };

    // Every program after every other one, and after the host has built a new
    // instance and restored the old one's state into it (JUCE's LV2 host does
    // so in prepareToPlay).
    for (const auto& before : factoryProgramNames)
        for (const auto& after : factoryProgramNames)
            if (before != after)
            {
                choose (before);
                if (after == "Small Complex Room")
                    prepareAndStepPastTheProgramRule (*hosted);
                choose (after);
                // A program starts the reverb afresh: it sounds as a fresh
                // processor given the program does.
                NadrixAudioProcessor local;
                local.setRateAndBufferSizeDetails (44100.0, 512);
                local.prepareToPlay (44100.0, 512);
                local.setCurrentProgram (factoryProgramNames.indexOf (after));
                runOneBlock (local);
                expectHostSees (*hosted, local, before + " then " + after);
                auto hostedAudio = noiseBuffer (2, 4096, 4), localAudio = hostedAudio;
                processInBlocks (*hosted, hostedAudio, 512);
                processInBlocks (local, localAudio, 512);
                EXPECT_TRUE (identical (hostedAudio, localAudio)) << before << " then " << after;
            }

    // A state saved after program changes, other values written by the host,
    // the state restored: every saved value is back.
    choose ("Nice Hall");
    choose ("Robotizer");
    const auto saved = stateOf (*hosted);
    const auto values = hostValues (*hosted);
    std::mt19937 rng (3);
    for (auto* p : pluginParameters (*hosted))
        p->setValueNotifyingHost ((float) (rng() % 1000) / 1000.0f);
    hosted->setStateInformation (saved.getData(), (int) saved.getSize());
    runOneBlock (*hosted);
    EXPECT_EQ (hostValues (*hosted), values);
}

TEST (PluginHosting, InstancesComeAndGoWhileOthersPlay)
{
    // As a session grows and shrinks: new instances are built, set and
    // destroyed on the message thread while an older one plays on another
    // thread. The memory sanitizer build runs this to catch any damage.
    auto check = [] (juce::AudioPluginFormat& format, const juce::String& fileOrIdentifier) {
        const auto playing = loadBundle (format, fileOrIdentifier);
        ASSERT_NE (playing, nullptr);
        playing->setPlayConfigDetails (2, 2, 44100.0, 512);
        playing->prepareToPlay (44100.0, 512);
        std::atomic<bool> stop { false };
        std::thread audio ([&] {
            while (! stop.load())
                runOneBlock (*playing);
        });

        for (int round = 0; round < 6; ++round)
        {
            std::vector<std::unique_ptr<juce::AudioPluginInstance>> session;
            for (int k = 0; k < 3; ++k)
            {
                session.push_back (loadBundle (format, fileOrIdentifier));
                ASSERT_NE (session.back(), nullptr);
                session.back()->setPlayConfigDetails (2, 2, 48000.0, 512); // the blocks runOneBlock plays
                session.back()->prepareToPlay (48000.0, 512);
                session.back()->setCurrentProgram ((round + k) % 6);
                runOneBlock (*session.back());
            }
            session.erase (session.begin() + round % 3); // not always in the order they came
        }

        stop.store (true);
        audio.join();
    };

    juce::VST3PluginFormat vst3;
    check (vst3, NADRIX_VST3_BUNDLE);
    juce::LV2PluginFormat lv2;
    searchLv2Folder (lv2, NADRIX_LV2_BUNDLE);
    check (lv2, NADRIX_LV2_URI_TEXT);
}

TEST (PluginHosting, Vst3BlocksLongerThanTheHostPreparedForRunInPieces)
{
    // A host that breaks its word and sends 2048 frames after preparing for
    // 256 hears what 256-frame blocks give; nothing is written out of bounds
    // (the memory sanitizer build runs this).
    juce::VST3PluginFormat format;
    juce::AudioBuffer<float> heard[2];
    for (int blockSize : { 2048, 256 })
    {
        const auto hosted = loadBundle (format, NADRIX_VST3_BUNDLE);
        ASSERT_NE (hosted, nullptr);
        hosted->setPlayConfigDetails (2, 2, 44100.0, 256);
        hosted->prepareToPlay (44100.0, 256);
        auto& audio = heard[blockSize == 256 ? 1 : 0];
        audio = testSignal (2, 20000);
        processInBlocks (*hosted, audio, blockSize);
    }
    EXPECT_TRUE (identical (heard[0], heard[1]));
}

TEST (PluginHosting, Vst3SurvivesDamagedWrapperTrailers)
{
    // The VST3 wrapper ends the plug-in's chunk with its own private data and
    // that data's size: a damaged size must not send it reading outside the chunk.
    juce::VST3PluginFormat format;
    const auto hosted = loadBundle (format, NADRIX_VST3_BUNDLE);
    ASSERT_NE (hosted, nullptr);
    const auto state = stateOf (*hosted);
    const auto xml = juce::AudioProcessor::getXmlFromBinary (state.getData(), (int) state.getSize());
    auto* component = xml->getChildByName ("IComponent");
    juce::MemoryBlock chunk;
    chunk.fromBase64Encoding (component->getAllSubText());
    const auto sizeField = chunk.getSize() - std::strlen ("JUCEPrivateData") - 8;

    std::mt19937_64 rng (11);
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
    for (int i = 0; i < ParameterLayout::numParameters; ++i)
        ASSERT_EQ (byName (*hosted, ParameterInfo::name (i))->getValue(), static_cast<const float*> (chunk.getData())[i]) << i;
}

TEST (PluginHosting, Vst3TakesAnyValueFromItsHostAndTheReverbRecovers)
{
    // A hostile host writes each parameter in turn with values no sane host
    // sends: through the edit controller at once (on the message thread)
    // and inside the next process call. The output stays finite and within
    // +24 dBFS, and once the sane value is back the reverb rings again.
    juce::VST3PluginFormat format;
    const auto hosted = loadBundle (format, NADRIX_VST3_BUNDLE);
    ASSERT_NE (hosted, nullptr);
    hosted->setPlayConfigDetails (2, 2, 44100.0, 512);
    hosted->prepareToPlay (44100.0, 512);

    const auto bounded = [] (const juce::AudioBuffer<float>& audio) {
        return boundedAndFinite (audio.getReadPointer (0), audio.getNumSamples()) && boundedAndFinite (audio.getReadPointer (1), audio.getNumSamples());
    };
    const auto ringsAfterNoise = [&] {
        auto audio = noiseBuffer (2, 11025, 5);
        audio.setSize (2, 44100, true, true);
        processInBlocks (*hosted, audio, 512);
        return bounded (audio) && audio.getRMSLevel (0, 22050, 22050) > 1.0e-4f;
    };
    ASSERT_TRUE (ringsAfterNoise());

    int cases = 0;
    for (auto* parameter : pluginParameters (*hosted))
    {
        const float sane = parameter->getValue();
        for (const float value : hostileValues (0.0f, 1.0f))
        {
            parameter->setValue (value);
            auto audio = testSignal (2, 512);
            audio.applyGain (4.0f);
            processInBlocks (*hosted, audio, 512);
            ASSERT_TRUE (bounded (audio)) << parameter->getName (100) << " = " << value;
            ++cases;
        }
        parameter->setValue (sane);
        ASSERT_TRUE (ringsAfterNoise()) << "silent or not finite after " << parameter->getName (100) << " came back";
    }
    EXPECT_EQ (cases, ParameterLayout::numParameters * 7);
}

TEST (PluginHosting, APreDelayStepSoundsTheSameWhateverTheVst3InstanceHeardBefore)
{
    // As the processor's own test: two sessions of the hosted VST3 that
    // idled for different times meet the same step with the same sound.
    juce::VST3PluginFormat format;
    juce::AudioBuffer<float> heard[2];
    for (int i = 0; i < 2; ++i)
    {
        const auto hosted = loadBundle (format, NADRIX_VST3_BUNDLE);
        ASSERT_NE (hosted, nullptr);
        hosted->setPlayConfigDetails (2, 2, PredelayStep::rate, PredelayStep::block);
        hosted->prepareToPlay (PredelayStep::rate, PredelayStep::block);
        hosted->setCurrentProgram (4);
        const auto parameters = pluginParameters (*hosted);
        heard[i] = PredelayStep::session (PredelayStep::playThrough (*hosted), [&parameters] (int index, float v) { parameters[index]->setValue (v); },
                                          PredelayStep::idleFrames[i]);
    }
    EXPECT_GT (heard[0].getMagnitude (0, PredelayStep::rate, 2 * PredelayStep::rate), 0.01f);
    EXPECT_TRUE (identical (heard[0], heard[1]));
}
} // namespace nadrix
