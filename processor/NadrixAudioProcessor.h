// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "processor/EditHistory.h"
#include "processor/FactoryPrograms.h"
#include "processor/NadrixParameter.h"
#include "engine/NadrixViewdata.h"
#include "engine/ParameterLayout.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <array>
#include <atomic>
#include <memory>
#include <vector>

namespace nadrix
{
class AudioPath;
class LineWorkers;
class ReverbEngine;

// The plug-in object the host talks to. It owns the reverb engine, publishes
// the 357 parameters, runs the engine on each block, saves and restores the
// parameter values as the plug-in state and serves the six factory programs.
//
// Each parameter's value is held in one place, its published NadrixParameter;
// everything else reads it there. A host writes it through the parameter
// (setValue), the window through setParameterFromUI, a program or a restored
// state through setParameterForRestart; each maps the value held into the
// engine (applyToEngine). An open window compares what it shows with the
// parameters 25 times a second.
class NadrixAudioProcessor final : public juce::AudioProcessor
{
public:
    // The clock of the 200 ms rule (a program chosen right after a state
    // restore is dropped); the system's millisecond counter unless a test
    // gives its own.
    using MillisecondClock = juce::uint32 (*)();
    explicit NadrixAudioProcessor (MillisecondClock clock = &juce::Time::getMillisecondCounter);
    ~NadrixAudioProcessor() override;

    static constexpr int numParameters = ParameterLayout::numParameters;
    static constexpr int stateBytes = numParameters * (int) sizeof (float);
    static constexpr int startProgram = FactoryPrograms::startProgram;

    //==============================================================================
    const juce::String getName() const override;
    // Says on the log when the delay lines could get no memory (see hasLineMemory).
    void prepareToPlay (double sampleRate, int maximumExpectedSamplesPerBlock) override;
    // False when the reverb's delay lines could get no memory: the input
    // then passes through dry, and a renderer refuses to render. Any thread.
    bool hasLineMemory() const noexcept;
    void releaseResources() override;
    void reset() override;
    bool isBusesLayoutSupported (const BusesLayout& layouts) const override;
    void processBlock (juce::AudioBuffer<float>& buffer, juce::MidiBuffer& midi) override;
    using juce::AudioProcessor::processBlock;

    double getTailLengthSeconds() const override;
    bool acceptsMidi() const override;
    bool producesMidi() const override;
    bool silenceInProducesSilenceOut() const override;

    bool hasEditor() const override;
    juce::AudioProcessorEditor* createEditor() override;

    // A host-side change, a program value or a restored value.
    void setParameter (int index, float value) override;

    int getNumPrograms() override;
    int getCurrentProgram() override;
    // Whether any value (but the window's zoom) differs from the current
    // program's: the program was edited since it was chosen. Any thread.
    bool isEditedSinceProgram() const noexcept;
    void setCurrentProgram (int program) override;
    const juce::String getProgramName (int program) override;
    void changeProgramName (int program, const juce::String& newName) override;

    void getStateInformation (juce::MemoryBlock& destData) override;
    void setStateInformation (const void* data, int sizeInBytes) override;

    const juce::String getInputChannelName (int channelIndex) const override;
    const juce::String getOutputChannelName (int channelIndex) const override;
    bool isInputChannelStereoPair (int index) const override;
    bool isOutputChannelStereoPair (int index) const override;

    //==============================================================================
    // For the editor, on the message thread.
    // The lines as realised, made from their settings when asked (any thread).
    const LineViews& getLineViews() const noexcept;
    NadrixViewdata getLineView (int line) const noexcept;
    void setParameterFromUI (int index, float value, bool notifyHost);
    // The start and end of one user gesture on a parameter, passed to the host.
    void beginParameterGesture (int index);
    void endParameterGesture (int index);

    // A parameter's value, as its published parameter holds it: what the
    // state saves. Any thread.
    float getParameterValue (int index) const noexcept;

    // Maps the value the parameter holds into the engine; a value written
    // again meanwhile is mapped too, so the engine ends with the last. For
    // the parameters themselves; any thread.
    void applyToEngine (int index);

    // How many input samples ran as silence: not finite numbers, or beyond
    // +36 dBFS (a magnitude of 64), which no real signal reaches.
    juce::int64 getReplacedInputSamples() const noexcept;

    // For offline rendering only (never in a host): the reverb's lines run
    // on this many threads, with the same output to the bit. 1: the calling
    // thread alone. Not while processBlock runs.
    void useOfflineThreads (int threads);

    // The window's edits to undo and redo, kept while windows come and go.
    // Message thread; a restored state drops it.
    EditHistory& getEditHistory() noexcept { return editHistory; }

private:
    // When the engine hears a value: at once, or at the restart that ends a
    // whole program or state (see startAfresh).
    enum class EngineTakes { now, atRestart };
    void mapIntoEngine (int index, EngineTakes when);
    void setParameterForRestart (int index, float value);
    void startAfresh();
    void tellHostEveryValueMayHaveChanged();
    void publishParameters();
    static float startValue (int index);

    EditHistory editHistory;
    const MillisecondClock millisecondClock;
    // When the last state was restored; none before the first (the counter
    // starts anywhere, and wraps every 49.7 days).
    std::atomic<juce::uint32> lastStateRestoreTime { 0 };
    std::atomic<bool> stateRestored { false };
    // The program hosts are told is current: the one whose values were
    // loaded last (at construction, program 5's).
    std::atomic<int> currentProgram { startProgram };
    // The program chosen last, unless a state was restored since: choosing
    // it again keeps the values edited since. None in a fresh instance, so
    // that whichever program is chosen first applies.
    static constexpr int noProgram = -1;
    std::atomic<int> chosenProgram { noProgram };
    std::atomic<float> engineSampleRate { 44100.0f }; // the rate the engine runs at: the host's, or 44.1 kHz below 44 kHz
    std::unique_ptr<ReverbEngine> engine;
    std::unique_ptr<AudioPath> audioPath; // around the engine: the input guard, the mono feed, the output limit
    NadrixParameter* published[numParameters] = {}; // owned by the base's parameter list: the values' one store
    std::atomic<juce::int64> replacedInputSamples { 0 };
    std::unique_ptr<LineWorkers> offlineWorkers;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (NadrixAudioProcessor)
};
} // namespace nadrix
