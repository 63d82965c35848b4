// SPDX-License-Identifier: GPL-3.0-or-later
// A host's session in any order: parameter writes with any float bit
// pattern, blocks of audio (stereo, or one channel), programs, restores and
// time passing. Every value stays normalised, the reverb stays finite and
// within +24 dBFS, and a program chosen afresh plays exactly as it does in a
// fresh instance.
#include "fuzz/FuzzKit.h"
#include "processor/FactoryPrograms.h"
#include "processor/NadrixAudioProcessor.h"
#include "tests/processor/ProcessorTestHelpers.h"

#include <array>
#include <cstring>

namespace
{
    using nadrix::NadrixAudioProcessor;

    // The plug-in's clock, stepped by the session: the 200 ms program rule
    // after a restore is part of what is fuzzed.
    juce::uint32 now = 0;
    juce::uint32 sessionClock() { return now; }

    struct Session
    {
        const uint8_t* data;
        size_t left;

        bool more() const { return left > 0; }
        uint8_t byte() { return left > 0 ? (--left, *data++) : 0; }
        int index() { return (byte() << 8 | byte()) % NadrixAudioProcessor::numParameters; }
        float anyFloat()
        {
            uint32_t bits = 0;
            for (int b = 0; b < 4; ++b)
                bits = bits << 8 | byte();
            float value;
            std::memcpy (&value, &bits, sizeof (value));
            return value;
        }
    };

    constexpr int checkFrames = 1024;

    juce::AudioBuffer<float> playCheck (NadrixAudioProcessor& processor)
    {
        auto audio = nadrix::testSignal (2, checkFrames);
        nadrix::processInBlocks (processor, audio, 512);
        return audio;
    }

    // What each program plays in a fresh instance.
    const std::array<juce::AudioBuffer<float>, nadrix::FactoryPrograms::count>& freshPrograms()
    {
        static const auto heard = [] {
            std::array<juce::AudioBuffer<float>, nadrix::FactoryPrograms::count> result;
            for (int p = 0; p < nadrix::FactoryPrograms::count; ++p)
            {
                NadrixAudioProcessor fresh (sessionClock);
                fresh.prepareToPlay (44100.0, 512);
                fresh.setCurrentProgram (p);
                result[(size_t) p] = playCheck (fresh);
            }
            return result;
        }();
        return heard;
    }

    void checkValues (NadrixAudioProcessor& processor)
    {
        auto& parameters = processor.getParameters();
        for (int i = 0; i < NadrixAudioProcessor::numParameters; ++i)
            NADRIX_FUZZ_CHECK (nadrix::fuzz::isNormalised (parameters[i]->getValue()) && nadrix::fuzz::isNormalised (processor.getParameterValue (i)),
                               "a value outside 0..1");
    }

    void playBlock (NadrixAudioProcessor& processor, int channels, int frames)
    {
        auto audio = nadrix::testSignal (channels, frames);
        audio.applyGain (4.0f); // louder than full scale, as a careless host may send
        nadrix::processInBlocks (processor, audio, juce::jmax (1, frames));
        nadrix::fuzz::checkBoundedAudio (audio);
    }
}

extern "C" int LLVMFuzzerInitialize (int*, char***)
{
    nadrix::fuzz::startJuce();
    freshPrograms();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput (const uint8_t* data, size_t size)
{
    now = 1000;
    NadrixAudioProcessor processor (sessionClock);
    processor.prepareToPlay (44100.0, 512);
    auto& parameters = processor.getParameters();

    for (Session session { data, size }; session.more();)
    {
        switch (session.byte() % 8)
        {
            case 0: { const int i = session.index(); parameters[i]->setValue (session.anyFloat()); break; }
            case 1: { const int i = session.index(); processor.setParameter (i, session.anyFloat()); break; }
            case 2: playBlock (processor, 2, session.byte() * 4); break;
            case 3: playBlock (processor, 1, session.byte() * 4); break;
            case 4: processor.setCurrentProgram (session.byte() % 8 - 1); break; // two programs that do not exist
            case 5:
            {
                juce::MemoryBlock state;
                processor.getStateInformation (state);
                const int i = session.index();
                const float value = session.anyFloat();
                std::memcpy (static_cast<char*> (state.getData()) + sizeof (float) * (size_t) i, &value, sizeof (float));
                processor.setStateInformation (state.getData(), (int) juce::jmin (state.getSize(), (size_t) session.byte() * 8));
                break;
            }
            case 6: now += session.byte() * 4u; break;
            default:
            {
                const int program = session.byte() % nadrix::FactoryPrograms::count;
                now += 1000;
                processor.setCurrentProgram ((program + 1) % nadrix::FactoryPrograms::count);
                processor.setCurrentProgram (program);
                NADRIX_FUZZ_CHECK (nadrix::identical (playCheck (processor), freshPrograms()[(size_t) program]),
                                   "a program chosen afresh plays otherwise than in a fresh instance");
                break;
            }
        }
        checkValues (processor);
    }
    return 0;
}
