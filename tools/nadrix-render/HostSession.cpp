#include "HostSession.h"

#include "Nadrix_Preset_Data.h"

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

    juce::TemporaryFile temporary (file);
    if (! temporary.getFile().replaceWithData (data.getData(), data.getSize()) || ! temporary.overwriteTargetFileWithTemporary())
        return juce::Result::fail ("cannot write state '" + file.getFullPathName() + "'");
    return juce::Result::ok();
}

int HostSession::findProgram (const juce::String& numberOrName) const
{
    const auto text = numberOrName.trim();
    if (text.containsOnly ("0123456789") && text.isNotEmpty())
    {
        const int number = text.getIntValue();
        return text.length() <= 2 && number < processor.getNumPrograms() ? number : -1;
    }

    for (int i = 0; i < processor.getNumPrograms(); ++i)
        if (processor.getProgramName (i).equalsIgnoreCase (text))
            return i;
    return -1;
}

juce::Result HostSession::selectProgram (const juce::String& numberOrName)
{
    const int program = findProgram (numberOrName);
    if (program < 0)
        return juce::Result::fail ("unknown program '" + numberOrName + "' (see --list-programs)");

    processor.setCurrentProgram (program);

    // setCurrentProgram does nothing for the program that is already current
    // (program 0 right after construction, while the values are program 5's)
    // or within 200 ms of a state restore. A host recalling a preset then
    // writes the preset's values itself, parameter by parameter.
    auto& parameters = processor.getParameters();
    for (int i = 0; i < NadrixAudioProcessor::numParameters; ++i)
        if (processor.getParameterValue (i) != Nadrix_Preset_Data[program][i])
            parameters[i]->setValueNotifyingHost (Nadrix_Preset_Data[program][i]);

    for (int i = 0; i < NadrixAudioProcessor::numParameters; ++i)
        if (processor.getParameterValue (i) != Nadrix_Preset_Data[program][i])
            return juce::Result::fail ("program '" + processor.getProgramName (program) + "' could not be applied");

    setup = "program \"" + processor.getProgramName (program) + "\"";
    return juce::Result::ok();
}

void HostSession::setParameter (int index, float value)
{
    processor.getParameters()[index]->setValueNotifyingHost (value);
    ++settingsChanged;
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
