// SPDX-License-Identifier: GPL-3.0-or-later
#include "processor/NadrixAudioProcessor.h"

#include "engine/LineWorkers.h"
#include "engine/ModLine.h"
#include "engine/ReverbEngine.h"
#include "processor/AudioPath.h"
#include "processor/EngineRate.h"
#include "processor/FactoryPrograms.h"
#include "processor/ParameterInfo.h"
#include "processor/TailLength.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

namespace nadrix
{
namespace
{
    constexpr juce::uint32 programLockoutMs = 200;
}

NadrixAudioProcessor::NadrixAudioProcessor (MillisecondClock clock)
    : juce::AudioProcessor (BusesProperties()
                                .withInput ("Input", juce::AudioChannelSet::stereo(), true)
                                .withOutput ("Output", juce::AudioChannelSet::stereo(), true)),
      millisecondClock (clock)
{
    engineSampleRate.store (engineRateFor (getSampleRate()));

    engine = std::make_unique<ReverbEngine> (engineSampleRate.load(), FactoryPrograms::engineValues (startProgram).data());
    audioPath = std::make_unique<AudioPath> (*engine);

    publishParameters();
}

NadrixAudioProcessor::~NadrixAudioProcessor()
{
}

float NadrixAudioProcessor::startValue (int index)
{
    return FactoryPrograms::normalised (startProgram, index);
}

void NadrixAudioProcessor::publishParameters()
{
    // The engine was built with these values.
    for (int i = 0; i < numParameters; ++i)
    {
        published[i] = new NadrixParameter (*this, i, startValue (i));
        addParameter (published[i]);
    }
}

//==============================================================================
void NadrixAudioProcessor::mapIntoEngine (int index, EngineTakes when)
{
    // The parameter may be written again on another thread while its value
    // is mapped here: whoever maps last reads the value held last, so the
    // engine never keeps an older one.
    for (float value = published[index]->getValue();;)
    {
        const float engineValue = ParameterInfo::engineValue (index, value);
        if (when == EngineTakes::now)
            engine->setParameter (index, engineValue);
        else
            engine->setParameterForRestart (index, engineValue);

        const float now = published[index]->getValue();
        if (now == value)
            return;
        value = now;
    }
}

void NadrixAudioProcessor::applyToEngine (int index)
{
    if (index >= 0 && index < numParameters)
        mapIntoEngine (index, EngineTakes::now);
}

void NadrixAudioProcessor::setParameter (int index, float value)
{
    if (index >= 0 && index < numParameters)
        published[index]->setValue (value);
}

void NadrixAudioProcessor::setParameterForRestart (int index, float value)
{
    // As a host's write, but the engine takes the value with the fresh lines
    // of the restart that follows: the lines it replaces need no memory for
    // lengths they will never run.
    if (published[index]->take (value))
        mapIntoEngine (index, EngineTakes::atRestart);
}

void NadrixAudioProcessor::beginParameterGesture (int index)
{
    if (index >= 0 && index < numParameters)
        published[index]->beginChangeGesture();
}

void NadrixAudioProcessor::endParameterGesture (int index)
{
    if (index >= 0 && index < numParameters)
        published[index]->endChangeGesture();
}

void NadrixAudioProcessor::startAfresh()
{
    // A program or a restored state sounds the same whenever it is chosen:
    // the reverb starts from the state a fresh instance has with these values.
    engine->restart (engineSampleRate.load());
}

void NadrixAudioProcessor::tellHostEveryValueMayHaveChanged()
{
    // The plug-in formats' wrappers take this as their cue to pass every
    // current value to the host, without reporting them as the user's edits.
    updateHostDisplay (ChangeDetails().withProgramChanged (true));
}

void NadrixAudioProcessor::setParameterFromUI (int index, float value, bool notifyHost)
{
    if (index < 0 || index >= numParameters)
        return;

    if (published[index]->take (value))
        mapIntoEngine (index, EngineTakes::now);
    if (notifyHost)
        published[index]->sendValueChangedMessageToListeners (published[index]->getValue());
}

float NadrixAudioProcessor::getParameterValue (int index) const noexcept
{
    if (index < 0 || index >= numParameters)
        return 0.0f;
    return published[index]->getValue();
}

//==============================================================================
const juce::String NadrixAudioProcessor::getName() const { return "Nadrix"; }
void NadrixAudioProcessor::prepareToPlay (double sampleRate, int)
{
    // The engine runs at the host's rate, so that delay times, pre-delays and
    // split frequencies keep their seconds and hertz.
    const float rate = engineRateFor (sampleRate);
    engine->prepare (rate);
    engineSampleRate.store (rate);
    engine->releaseReplacedLines();

    if (! hasLineMemory())
        juce::Logger::writeToLog ("Nadrix could not get memory for its delay lines: the input passes through dry");
}

bool NadrixAudioProcessor::hasLineMemory() const noexcept
{
    return engine->runsItsLines();
}

void NadrixAudioProcessor::useOfflineThreads (int threads)
{
    engine->useWorkers (nullptr);
    offlineWorkers.reset();
    if (threads > 1)
    {
        offlineWorkers = std::make_unique<LineWorkers> (threads);
        engine->useWorkers (offlineWorkers.get());
    }
}

void NadrixAudioProcessor::releaseResources()
{
    engine->releaseReplacedLines();
}

void NadrixAudioProcessor::reset()
{
    // The host's way out of anything: the reverb's memory starts afresh
    // (rings, pre-delays, splitter), the parameters stay. Safe on the audio
    // thread, where some hosts call it.
    engine->requestSilence();
}

juce::int64 NadrixAudioProcessor::getReplacedInputSamples() const noexcept
{
    return replacedInputSamples.load (std::memory_order_relaxed);
}

bool NadrixAudioProcessor::isBusesLayoutSupported (const BusesLayout& layouts) const
{
    const auto in = layouts.getMainInputChannelSet();
    return layouts.getMainOutputChannelSet() == juce::AudioChannelSet::stereo()
        && (in == juce::AudioChannelSet::stereo() || in == juce::AudioChannelSet::mono());
}

void NadrixAudioProcessor::processBlock (juce::AudioBuffer<float>& buffer, juce::MidiBuffer&)
{
    const int numSamples = buffer.getNumSamples();
    const int numChannels = buffer.getNumChannels();
    const int numOutputs = juce::jmin (getTotalNumOutputChannels(), numChannels);

    for (int ch = getTotalNumInputChannels(); ch < numOutputs; ++ch)
        buffer.clear (ch, 0, numSamples);

    if (numChannels < 1 || numSamples <= 0)
        return;

    float* left = buffer.getWritePointer (0);
    float* right = numOutputs > 1 ? buffer.getWritePointer (1) : nullptr;
    const int replaced = audioPath->process (left, right, right != nullptr && getTotalNumInputChannels() > 1, numSamples);

    if (replaced > 0)
        replacedInputSamples.fetch_add (replaced, std::memory_order_relaxed);
}

double NadrixAudioProcessor::getTailLengthSeconds() const
{
    // In the host's seconds: at a rate the engine does not run at, its
    // 44.1 kHz time base makes its seconds last longer.
    const double hostRate = getSampleRate();
    const double stretch = hostRate > 0.0 ? (double) engineSampleRate.load() / hostRate : 1.0;
    return reverbTailSeconds (*engine) * juce::jmax (1.0, stretch);
}

bool NadrixAudioProcessor::acceptsMidi() const { return false; }
bool NadrixAudioProcessor::producesMidi() const { return false; }
bool NadrixAudioProcessor::silenceInProducesSilenceOut() const { return false; }
bool NadrixAudioProcessor::hasEditor() const { return true; }

//==============================================================================
int NadrixAudioProcessor::getNumPrograms() { return FactoryPrograms::count; }
int NadrixAudioProcessor::getCurrentProgram() { return currentProgram.load(); }

bool NadrixAudioProcessor::isEditedSinceProgram() const noexcept
{
    const int program = currentProgram.load();
    for (int i = 0; i < numParameters; ++i)
        if (i != ParameterInfo::uiZoom && published[i]->getValue() != FactoryPrograms::normalised (program, i))
            return true;
    return false;
}

void NadrixAudioProcessor::setCurrentProgram (int program)
{
    if (program < 0 || program >= FactoryPrograms::count || program == chosenProgram.load())
        return;

    // A host that restores a state often selects a program right after; the
    // restored values win.
    if (stateRestored.load() && millisecondClock() - lastStateRestoreTime.load() < programLockoutMs)
        return;

    currentProgram.store (program);
    chosenProgram.store (program);

    for (int i = 0; i < numParameters; ++i)
        setParameterForRestart (i, FactoryPrograms::normalised (program, i));

    startAfresh();
    tellHostEveryValueMayHaveChanged();
}

const juce::String NadrixAudioProcessor::getProgramName (int program)
{
    if (program < 0 || program >= FactoryPrograms::count)
        return {};
    return FactoryPrograms::names[program];
}

void NadrixAudioProcessor::changeProgramName (int, const juce::String&) {}

//==============================================================================
void NadrixAudioProcessor::getStateInformation (juce::MemoryBlock& destData)
{
    float values[numParameters];
    for (int i = 0; i < numParameters; ++i)
        values[i] = juce::ByteOrder::swapIfBigEndian (published[i]->getValue());

    destData.append (values, sizeof (values));
}

void NadrixAudioProcessor::setStateInformation (const void* data, int sizeInBytes)
{
    lastStateRestoreTime.store (millisecondClock());
    stateRestored.store (true);

    if (data == nullptr || sizeInBytes < 0)
        return;

    // Values past the 357th belong to no parameter and are ignored.
    const int n = juce::jmin (sizeInBytes / (int) sizeof (float), numParameters);

    for (int i = 0; i < n; ++i)
    {
        float value;
        std::memcpy (&value, static_cast<const char*> (data) + sizeof (float) * (size_t) i, sizeof (float));
        setParameterForRestart (i, juce::ByteOrder::swapIfBigEndian (value));
    }

    if (n > 0)
    {
        // Restored values are no program's: a program chosen after them
        // (once the 200 ms are past) applies, even the one hosts show as
        // current. An LV2 host that builds a new instance and restores the
        // old one's state into it relies on that.
        chosenProgram.store (noProgram);
        editHistory.requestDrop(); // its values are of the session this state replaces
        startAfresh();
        tellHostEveryValueMayHaveChanged();
    }
}

//==============================================================================
const juce::String NadrixAudioProcessor::getInputChannelName (int channelIndex) const { return juce::String (channelIndex + 1); }
const juce::String NadrixAudioProcessor::getOutputChannelName (int channelIndex) const { return juce::String (channelIndex + 1); }
bool NadrixAudioProcessor::isInputChannelStereoPair (int) const { return true; }
bool NadrixAudioProcessor::isOutputChannelStereoPair (int) const { return true; }

//==============================================================================
const LineViews& NadrixAudioProcessor::getLineViews() const noexcept { return *engine; }
NadrixViewdata NadrixAudioProcessor::getLineView (int line) const noexcept { return engine->lineView (line); }

} // namespace nadrix

//==============================================================================
juce::AudioProcessor* JUCE_CALLTYPE createPluginFilter()
{
    return new nadrix::NadrixAudioProcessor();
}
