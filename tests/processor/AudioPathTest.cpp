// SPDX-License-Identifier: GPL-3.0-or-later
// The audio path from a host's point of view: a mono track heard centred,
// programs and states that sound the same whenever they are chosen,
// automation that does not restart the reverb, nothing that poisons it, and
// a tail that covers it at every rate. (The reverb's seconds at every rate
// are checked through nadrix-render.)
#include "processor/NadrixAudioProcessor.h"
#include "tests/engine/InterleavedRun.h"
#include "processor/FactoryPrograms.h"
#include "engine/ReverbEngine.h"
#include "processor/ParameterInfo.h"
#include "tests/processor/PredelayStep.h"
#include "tests/processor/ProcessorTestHelpers.h"
#include "engine/ParameterLayout.h"

#include <gtest/gtest.h>

#include <cmath>

namespace nadrix
{
namespace
{
    constexpr int robotizer = 2, niceHall = 1;
}

TEST (AudioPath, AMonoTrackIsHeardCentredAndOtherLayoutsAreRefused)
{
    // A mono track: the same as the signal on both sides of a stereo track.
    NadrixAudioProcessor mono, stereo;
    EXPECT_FALSE (mono.setBusesLayout ({ { juce::AudioChannelSet::quadraphonic() }, { juce::AudioChannelSet::stereo() } }));
    ASSERT_TRUE (mono.setBusesLayout ({ { juce::AudioChannelSet::mono() }, { juce::AudioChannelSet::stereo() } }));
    auto a = noiseBuffer (2, 3000, 1); // channel 1 holds whatever a mono host leaves there
    auto b = a;
    b.copyFrom (1, 0, b, 0, 0, b.getNumSamples());
    processInBlocks (mono, a, 512);
    processInBlocks (stereo, b, 512);
    EXPECT_TRUE (identical (a, b));
}

TEST (AudioPath, AProgramOrAStateSoundsTheSameWheneverItIsChosen)
{
    NadrixAudioProcessor withRobotizer;
    withRobotizer.setCurrentProgram (robotizer);
    const auto robotizerState = stateOf (withRobotizer);

    auto freshSound = testSignal (2, 8192);
    processInBlocks (withRobotizer, freshSound, 512);

    for (int before : { 0, 512, 7168, 100000 })
        for (bool byState : { false, true })
        {
            NadrixAudioProcessor p;
            auto earlier = noiseBuffer (2, before, 5);
            processInBlocks (p, earlier, 512);
            if (byState)
                p.setStateInformation (robotizerState.getData(), (int) robotizerState.getSize());
            else
                p.setCurrentProgram (robotizer);

            auto sound = testSignal (2, 8192);
            processInBlocks (p, sound, 512);
            EXPECT_TRUE (identical (sound, freshSound)) << before << " frames before, " << (byState ? "state" : "program");
        }
}

TEST (AudioPath, ASingleAutomatedChangeDoesNotStartTheReverbAfresh)
{
    // The processor and a bare engine given the same values and the same one change.
    NadrixAudioProcessor p;
    p.setCurrentProgram (robotizer);
    ReverbEngine engine (44100.0f);
    for (int i = 0; i < NadrixAudioProcessor::numParameters; ++i)
        engine.setParameter (i, ParameterInfo::engineValue (i, FactoryPrograms::normalised (robotizer, i)));

    auto audio = noiseBuffer (2, 7168 + 4096, 6);
    std::vector<float> interleaved ((size_t) audio.getNumSamples() * 2);
    for (int i = 0; i < audio.getNumSamples(); ++i)
        for (int ch = 0; ch < 2; ++ch)
            interleaved[(size_t) (2 * i + ch)] = audio.getSample (ch, i);

    juce::AudioBuffer<float> first (audio.getArrayOfWritePointers(), 2, 0, 7168), second (audio.getArrayOfWritePointers(), 2, 7168, 4096);
    processInBlocks (p, first, 512);
    p.getParameters()[7 + 3]->setValueNotifyingHost (0.05f); // "Predelay Dly 0"
    processInBlocks (p, second, 512);

    for (int start = 0; start < 7168 + 4096; start += 512)
    {
        if (start == 7168)
            engine.setParameter (7 + 3, 0.05f);
        processInterleaved (engine, interleaved.data() + 2 * start, 512);
    }

    for (int i = 0; i < audio.getNumSamples(); ++i)
        for (int ch = 0; ch < 2; ++ch)
            ASSERT_EQ (audio.getSample (ch, i), interleaved[(size_t) (2 * i + ch)]) << "frame " << i;
}

TEST (AudioPath, APreDelayStepSoundsTheSameWhateverTheInstanceHeardBefore)
{
    // The same earlier use, idle for different times (so only the rings'
    // positions differ), or other earlier audio: the same signal and the
    // same step then sound the same to the bit, before the step and after.
    juce::AudioBuffer<float> heard[3];
    for (int i = 0; i < 3; ++i)
    {
        NadrixAudioProcessor p;
        p.prepareToPlay (PredelayStep::rate, PredelayStep::block);
        p.setCurrentProgram (4); // "Small Drum Booth": the idle time lets its tail die away
        const auto play = PredelayStep::playThrough (p);
        if (i == 2)
            play (70000, 99);
        auto& parameters = p.getParameters();
        heard[i] = PredelayStep::session (play, [&parameters] (int index, float v) { parameters[index]->setValueNotifyingHost (v); },
                                          PredelayStep::idleFrames[i % 2]);
    }
    EXPECT_GT (heard[0].getMagnitude (0, PredelayStep::rate, 2 * PredelayStep::rate), 0.01f);
    EXPECT_TRUE (identical (heard[0], heard[1]));
    EXPECT_TRUE (identical (heard[0], heard[2]));
}

TEST (AudioPath, InputNoRealSignalReachesRunsAsSilenceAndNothingPoisonsTheReverb)
{
    const auto clean = testSignal (2, 6000);
    juce::AudioBuffer<float> zeroOn[2] { clean, clean };
    for (int ch = 0; ch < 2; ++ch)
    {
        NadrixAudioProcessor withZero;
        zeroOn[ch].setSample (ch, 100, 0.0f);
        processInBlocks (withZero, zeroOn[ch], 512);
    }
    const auto& zero = zeroOn[0];

    // Not a number, infinite, or beyond +36 dBFS (a broken plug-in upstream,
    // a damaged file), on either input: heard exactly as a zero would be,
    // and counted.
    for (int ch = 0; ch < 2; ++ch)
        for (float bad : { std::nanf (""), INFINITY, -INFINITY, 1e30f, -1e30f, 1e10f, std::nextafter (64.0f, 100.0f), -65.0f })
        {
            NadrixAudioProcessor p;
            auto audio = clean;
            audio.setSample (ch, 100, bad);
            processInBlocks (p, audio, 512);
            EXPECT_TRUE (identical (audio, zeroOn[ch])) << bad << " on input " << ch;
            EXPECT_EQ (p.getReplacedInputSamples(), 1) << bad << " on input " << ch;
        }

    // Up to the bound a sample is reverberated as it is; reset() then leaves
    // the instance sounding exactly like a fresh one.
    NadrixAudioProcessor loudest, fresh;
    auto loud = clean;
    loud.setSample (1, 50, -64.0f);
    loud.setSample (0, 100, 64.0f);
    processInBlocks (loudest, loud, 512);
    EXPECT_EQ (loudest.getReplacedInputSamples(), 0);
    EXPECT_FALSE (identical (loud, zero));
    for (int i = 0; i < loud.getNumSamples(); ++i)
        ASSERT_TRUE (std::isfinite (loud.getSample (0, i)) && std::isfinite (loud.getSample (1, i)));

    loudest.reset();
    auto after = clean, expected = clean;
    processInBlocks (loudest, after, 512);
    processInBlocks (fresh, expected, 512);
    EXPECT_TRUE (identical (after, expected));
}

TEST (AudioPath, FeedbackIsCappedAndTheOutputNeverExceedsPlus24dBFS)
{
    // Every line alike and as loud as it gets, feedback asked at 1.0: the
    // engine runs 0.995, where a full-scale input can build up to
    // 2.8 * 200 * 50 / 36.4 = 769 (+57.7 dBFS); nothing leaves above +24 dBFS.
    auto loudest = [] (float feedback, int seconds) {
        NadrixAudioProcessor p;
        auto& params = p.getParameters();
        for (int i : { 0, 3, 4, 5 })
            params[i]->setValueNotifyingHost (1.0f);
        for (int j = 0; j < 50; ++j)
        {
            const float line[] = { 0.0f, 1.0f, feedback, 0.0f, 0.0f, 1.0f, 1.0f };
            for (int k = 0; k < 7; ++k)
                params[ParameterLayout::indexOf (j, k)]->setValueNotifyingHost (line[k]);
        }
        auto audio = noiseBuffer (2, seconds * 44100, 11);
        for (int ch = 0; ch < 2; ++ch)
            juce::FloatVectorOperations::multiply (audio.getWritePointer (ch), 2.0f, audio.getNumSamples()); // full scale
        processInBlocks (p, audio, 512);
        return audio;
    };

    EXPECT_TRUE (identical (loudest (1.0f, 5), loudest (0.995f, 5)));
    const auto atOne = loudest (1.0f, 60);
    EXPECT_LE (atOne.getMagnitude (0, atOne.getNumSamples()), 15.848932f);
    EXPECT_EQ (atOne.getMagnitude (0, atOne.getNumSamples()), 15.848932f); // the limit is reached here, not exceeded
}

TEST (AudioPath, TheReportedTailCoversTheRealTailAtEveryRate)
{
    // The tail holds what the lines ring at every rate.
    for (double rate : { 8000.0, 22050.0, 44100.0, 96000.0 })
    {
        NadrixAudioProcessor p;
        p.setRateAndBufferSizeDetails (rate, 512);
        p.prepareToPlay (rate, 512);
        p.setCurrentProgram (niceHall);
        const double tail = p.getTailLengthSeconds();

        auto audio = impulseBuffer (2, (int) std::ceil (tail * rate) + 1);
        processInBlocks (p, audio, 512);

        const int last = audio.getNumSamples() / 20; // the last 5 %
        const double endLevel = 20.0 * std::log10 (audio.getRMSLevel (0, audio.getNumSamples() - last, last) + 1e-30);
        EXPECT_LT (endLevel, -80.0) << rate << " Hz: the tail of " << tail << " s ends at " << endLevel << " dB";
    }
}
} // namespace nadrix
