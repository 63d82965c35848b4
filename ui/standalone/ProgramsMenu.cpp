// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/standalone/ProgramsMenu.h"

namespace nadrix
{
juce::PopupMenu ProgramsMenu::build (juce::AudioProcessor& processor)
{
    juce::PopupMenu menu;
    for (int i = 0; i < processor.getNumPrograms(); ++i)
        menu.addItem (firstItemId + i, processor.getProgramName (i), true, i == processor.getCurrentProgram());
    return menu;
}

bool ProgramsMenu::apply (juce::AudioProcessor& processor, int menuResult)
{
    const int program = menuResult - firstItemId;
    if (program < 0 || program >= processor.getNumPrograms())
        return false;
    processor.setCurrentProgram (program);
    return true;
}
} // namespace nadrix
