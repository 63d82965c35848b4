// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/standalone/WindowTitle.h"

#include "processor/NadrixAudioProcessor.h"

namespace nadrix
{
juce::String WindowTitle::of (juce::AudioProcessor& processor)
{
    juce::String title = processor.getName();
    const auto program = processor.getProgramName (processor.getCurrentProgram());
    if (program.isEmpty())
        return title;

    title << " - " << program;
    if (auto* nadrix = dynamic_cast<NadrixAudioProcessor*> (&processor); nadrix != nullptr && nadrix->isEditedSinceProgram())
        title << " (edited)";
    return title;
}
} // namespace nadrix
