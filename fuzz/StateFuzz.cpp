// SPDX-License-Identifier: GPL-3.0-or-later
// A state from a host: any bytes through setStateInformation. Every value
// stays normalised, the reverb stays finite and within +24 dBFS on a loud
// signal, and the state saved after it is 1428 bytes that restore the same
// values into a fresh instance.
#include "fuzz/FuzzKit.h"
#include "processor/NadrixAudioProcessor.h"

#include <cstring>

extern "C" int LLVMFuzzerInitialize (int*, char***)
{
    nadrix::fuzz::startJuce();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput (const uint8_t* data, size_t size)
{
    using namespace nadrix;
    using nadrix::fuzz::isNormalised;

    NadrixAudioProcessor processor;
    processor.prepareToPlay (44100.0, 512);
    processor.setStateInformation (data, (int) juce::jmin (size, (size_t) 1 << 20));

    for (int i = 0; i < NadrixAudioProcessor::numParameters; ++i)
        NADRIX_FUZZ_CHECK (isNormalised (processor.getParameterValue (i)), "a restored value outside 0..1");

    auto audio = testSignal (2, 2048);
    processInBlocks (processor, audio, 512);
    fuzz::checkBoundedAudio (audio);

    juce::MemoryBlock saved;
    processor.getStateInformation (saved);
    NADRIX_FUZZ_CHECK (saved.getSize() == (size_t) NadrixAudioProcessor::stateBytes, "a saved state of another size");

    NadrixAudioProcessor reopened;
    reopened.setStateInformation (saved.getData(), (int) saved.getSize());
    for (int i = 0; i < NadrixAudioProcessor::numParameters; ++i)
    {
        const float before = processor.getParameterValue (i), after = reopened.getParameterValue (i);
        NADRIX_FUZZ_CHECK (std::memcmp (&before, &after, sizeof (float)) == 0, "a saved state restores another value");
    }
    return 0;
}
