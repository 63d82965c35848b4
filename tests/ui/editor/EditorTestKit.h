// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/editor/NadrixAudioProcessorEditor.h"
#include "processor/ParameterText.h"
#include "tests/ui/ControlTestKit.h"
#include "tests/processor/ProcessorTestHelpers.h"

#include <memory>
#include <vector>

namespace nadrix
{
// The tests reach the editor's children through this friend.
struct EditorInspector
{
    NadrixAudioProcessorEditor& e;
    DelaysView& view() { return e.delaysView; }
    ESlider& zoom() { return e.zoomSlider; }
    EKnob& mix() { return e.mixKnob; }
    EEQ& eq() { return e.eq; }
    ESlider& complexity() { return e.complexitySlider; }
    ESlider& roomSize() { return e.roomSizeSlider; }
    ESlider& predelay() { return e.predelaySlider; }
    ESlider& tailTime() { return e.tailTimeSlider; }
    EPushButton& renderButton() { return e.renderRandomButton; }
    EPushButton& aboutButton() { return e.aboutButton; }
    EPushButton& helpButton() { return e.helpButton; }
    EditModeChooserView& modeChooser() { return e.editModeChooser; }
    ValueReadout& readout() { return e.readout; }
    void readoutLingeringEnds() { e.readout.timerCallback(); }
    int fanRepaintRequests() const { return e.fanRepaintRequests; }
};

// A processor with its window open, as a host shows it.
struct EditorSession
{
    NadrixAudioProcessor processor;
    HostListener host;
    std::unique_ptr<NadrixAudioProcessorEditor> editor;

    EditorSession()
    {
        processor.addListener (&host);
        open();
    }
    ~EditorSession()
    {
        editor.reset();
        processor.removeListener (&host);
    }
    void open() { editor.reset (dynamic_cast<NadrixAudioProcessorEditor*> (processor.createEditor())); }
    EditorInspector inspect() { return { *editor }; }
    void hostWrites (int index, float value) { processor.getParameters()[index]->setValueNotifyingHost (value); }
};
} // namespace nadrix
