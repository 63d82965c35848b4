// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/nadrix-render/HostSession.h"

#include "tools/nadrix-render/FileIdentity.h"
#include "tools/nadrix-render/InterruptCleanup.h"
#include "ui/editor/SeededDraws.h"

#include "processor/FactoryPrograms.h"

namespace nadrix
{
HostSession::HostSession (NadrixAudioProcessor& p) : processor (p) {}

juce::Result HostSession::restoreState (const juce::File& file)
{
    const auto size = file.getSize();
    if (! file.existsAsFile())
        return juce::Result::fail ("cannot read state '" + file.getFullPathName() + "': no such file");
    if (size != NadrixAudioProcessor::stateBytes)
        return juce::Result::fail ("cannot use state '" + file.getFullPathName() + "': a Nadrix state is "
                                   + juce::String (NadrixAudioProcessor::stateBytes) + " bytes, this file has " + juce::String (size));

    juce::MemoryBlock data;
    if (! file.loadFileAsData (data))
        return juce::Result::fail ("cannot read state '" + file.getFullPathName() + "'");

    processor.setStateInformation (data.getData(), (int) data.getSize());
    setup = "state '" + file.getFileName() + "'";
    return juce::Result::ok();
}

juce::Result HostSession::saveState (const juce::File& file)
{
    juce::MemoryBlock data;
    processor.getStateInformation (data);

    // Beside the file it replaces (through a symbolic link), moved into place when whole.
    juce::TemporaryFile temporary (writeThroughLinks (file));
    const auto cleanup = InterruptCleanup::removeOnInterrupt (temporary.getFile());
    const bool written = temporary.getFile().replaceWithData (data.getData(), data.getSize()) && temporary.overwriteTargetFileWithTemporary();
    InterruptCleanup::forget (cleanup);

    if (! written)
        return juce::Result::fail ("cannot write state '" + file.getFullPathName() + "'");
    return juce::Result::ok();
}

juce::Result HostSession::selectProgram (int program)
{
    processor.setCurrentProgram (program);

    // setCurrentProgram does nothing for the program that is already current
    // (the edited one after a state restore, say) or within 200 ms of a state
    // restore. A host recalling a preset then writes the preset's values
    // itself, parameter by parameter; no audio has run yet, so the reverb
    // starts from these values as a fresh one would.
    auto& parameters = processor.getParameters();
    for (int i = 0; i < NadrixAudioProcessor::numParameters; ++i)
        if (processor.getParameterValue (i) != FactoryPrograms::normalised (program, i))
            parameters[i]->setValueNotifyingHost (FactoryPrograms::normalised (program, i));

    for (int i = 0; i < NadrixAudioProcessor::numParameters; ++i)
        if (processor.getParameterValue (i) != FactoryPrograms::normalised (program, i))
            return juce::Result::fail ("program '" + processor.getProgramName (program) + "' could not be applied");

    setup = "program \"" + processor.getProgramName (program) + "\"";
    return juce::Result::ok();
}

void HostSession::setParameter (int index, float value)
{
    processor.getParameters()[index]->setValueNotifyingHost (value);
    ++settingsChanged;
}

void HostSession::buildRandomRoom (juce::uint32 seed, const RandomRenderSettings& settings)
{
    SeededDraws draws (seed);
    auto& parameters = processor.getParameters();
    renderRandomReverb (settings, [&parameters] (int index, float value) { parameters[index]->setValueNotifyingHost (value); }, std::ref (draws));
    setup << ", random room " << juce::String (seed) << " (tail " << settings.tailTime << ", room " << settings.roomSize << ", predelay "
          << settings.predelay << ", complexity " << settings.complexity << ")";
}

juce::String HostSession::describeSetup() const
{
    if (settingsChanged == 0)
        return setup;
    return setup + " with " + juce::String (settingsChanged) + (settingsChanged == 1 ? " setting" : " settings") + " changed";
}

juce::String HostSession::listPrograms() const
{
    juce::String text;
    for (int i = 0; i < processor.getNumPrograms(); ++i)
        text << i << "  " << processor.getProgramName (i) << "\n";
    return text;
}

juce::String HostSession::listParameters() const
{
    juce::String text;
    auto& parameters = processor.getParameters();
    for (int i = 0; i < parameters.size(); ++i)
        text << juce::String (i).paddedLeft (' ', 3) << "  " << parameters[i]->getName (1000).paddedRight (' ', 22)
             << juce::String (processor.getParameterValue (i), 6).paddedRight (' ', 10) << parameters[i]->getCurrentValueAsText() << "\n";
    return text;
}
} // namespace nadrix
