// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/nadrix-render/Snapshot.h"

namespace nadrix
{
juce::Result writeEditorSnapshot (NadrixAudioProcessor& processor, const juce::File& file)
{
    const std::unique_ptr<juce::AudioProcessorEditor> editor (processor.createEditor());
    const auto image = editor->createComponentSnapshot (editor->getLocalBounds());

    juce::TemporaryFile temporary (file);
    {
        juce::FileOutputStream out (temporary.getFile());
        if (! out.openedOk() || ! juce::PNGImageFormat().writeImageToStream (image, out))
            return juce::Result::fail ("cannot write '" + file.getFullPathName() + "'");
    }

    if (! temporary.overwriteTargetFileWithTemporary())
        return juce::Result::fail ("cannot write '" + file.getFullPathName() + "'");
    return juce::Result::ok();
}
} // namespace nadrix
